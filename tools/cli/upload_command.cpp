// caspo upload URL FILE [--meta FILE] [--field name=value]... [--user USER[:PASSWORD]]: the
// library's upload client, with the agent's identity sections; a progress line on a terminal
// while a large body goes out.
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file.h"
#include "platform/last_error.h"
#include "tools/cli/client_objects.h"
#include "tools/cli/commands.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
#include "tools/cli/result_text.h"
#include "tools/cli/socket_bytes.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage =
    "usage: caspo upload URL FILE [--meta FILE] [--field name=value]... [--user USER[:PASSWORD]]\n";
// Bodies from this size on get a progress line.
constexpr std::uintmax_t kLargeBody = std::uintmax_t{1} << 20U;

struct UploadLine {
    std::u16string url;
    std::string file;
    std::optional<std::string> meta;
    std::vector<std::pair<std::u16string, std::u16string>> fields;
    std::optional<std::u16string> user;
    std::optional<std::u16string> password;
};

// Splits "left<separator>right"; the right side is nothing when the separator is absent.
std::pair<std::string, std::optional<std::string>> Split(const std::string& text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) {
        return {text, std::nullopt};
    }
    return {text.substr(0, at), text.substr(at + 1)};
}

bool TakeOption(const std::string& name, const std::string& value, UploadLine& line) {
    if (name == "--meta") {
        line.meta = value;
        return true;
    }
    const auto [left, right] = Split(value, name == "--field" ? '=' : ':');
    const auto wideLeft = Widen(left);
    const auto wideRight = right ? Widen(*right) : std::optional<std::u16string>();
    if (!wideLeft || (right && !wideRight)) {
        return false;
    }
    if (name == "--field" && right && !left.empty()) {
        line.fields.emplace_back(*wideLeft, *wideRight);
        return true;
    }
    if (name == "--user" && !left.empty()) {
        line.user = wideLeft;
        line.password = wideRight;
        return true;
    }
    return false;
}

std::optional<UploadLine> ParseUpload(const std::vector<std::string>& operands) {
    UploadLine line;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        if (operands[i].starts_with("--")) {
            if (i + 1 == operands.size() || !TakeOption(operands[i], operands[i + 1], line)) {
                return std::nullopt;
            }
            ++i;
        } else {
            positional.push_back(operands[i]);
        }
    }
    const auto url = positional.size() == 2 ? Widen(positional[0]) : std::nullopt;
    if (!url || !Widen(positional[1])) {
        return std::nullopt;
    }
    line.url = *url;
    line.file = positional[1];
    return line;
}

// A file opened for reading, closed with the object.
class ReadHandle {
public:
    explicit ReadHandle(const std::string& path)
        : m_handle(os::CreateFileW(Widen(path).value_or(u"").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL)),
          m_error(m_handle == INVALID_HANDLE_VALUE ? os::GetLastError() : 0) {}
    ~ReadHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            os::CloseHandle(m_handle);
        }
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    ReadHandle(ReadHandle&&) = delete;
    ReadHandle& operator=(ReadHandle&&) = delete;

    HANDLE Get() const { return m_handle; }
    DWORD Error() const { return m_error; }

private:
    HANDLE m_handle;
    DWORD m_error;
};

std::u16string BaseName(const std::string& path) {
    return Widen(std::filesystem::path(path).filename().string()).value_or(u"file");
}

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ignored;
    const std::uintmax_t size = std::filesystem::file_size(path, ignored);
    return ignored ? 0 : size;
}

HRESULT Send(IHttpUpload& client, const UploadLine& line, const ReadHandle& file,
             const std::optional<ReadHandle>& meta) {
    std::vector<UploadField> fields;
    for (const auto& [name, value] : line.fields) {
        fields.push_back({name.c_str(), value.c_str()});
    }
    const UploadFields extra{fields.data(), static_cast<std::uint32_t>(fields.size())};
    const std::u16string fileName = BaseName(line.file);
    const std::u16string metaName = line.meta ? BaseName(*line.meta) : u"";
    return client.UploadFile(line.url.c_str(), line.user ? line.user->c_str() : nullptr,
                             line.password ? line.password->c_str() : nullptr, fileName.c_str(),
                             file.Get(), meta ? metaName.c_str() : nullptr,
                             meta ? meta->Get() : nullptr, nullptr, 0, 1, 0, &extra);
}

}  // namespace

int RunUploadCommand(const std::vector<std::string>& operands, const Console& console) {
    const std::optional<UploadLine> line = ParseUpload(operands);
    if (!line) {
        console.err << "caspo upload: a URL and a file are needed (options as below, UTF-8)\n"
                    << kUsage;
        return kExitUsage;
    }
    const ReadHandle file(line->file);
    std::optional<ReadHandle> meta;
    if (line->meta) {
        meta.emplace(*line->meta);
    }
    const auto unopened = [&console](const std::string& path, const ReadHandle& handle) {
        if (handle.Get() != INVALID_HANDLE_VALUE) {
            return false;
        }
        console.err << "caspo upload: cannot open " << path << ": " << SystemMessage(handle.Error())
                    << '\n';
        return true;
    };
    if (unopened(line->file, file) || (meta && unopened(*line->meta, *meta))) {
        return kExitFailure;
    }
    const CaspoLibrary library;
    const UploadPtr client = library.Loaded() ? NewUpload(library) : UploadPtr(nullptr, nullptr);
    if (!client) {
        console.err << "caspo upload: "
                    << (library.Loaded() ? "no upload client" : library.Problem()) << '\n';
        return kExitFailure;
    }
    const RequestWatch watch(line->url, console.err);
    Outcome outcome{.command = "upload"};
    {
        const std::uintmax_t total = SizeOf(line->file) + (line->meta ? SizeOf(*line->meta) : 0);
        std::optional<TransferProgress> progress;
        if (!console.options.json && total >= kLargeBody && isatty(STDERR_FILENO) != 0) {
            progress.emplace(SentSinceNow(), console.err, total);
        }
        outcome.result = Send(*client, *line, file, meta);
    }
    outcome.reason = watch.ReasonFor(outcome.result);
    outcome.file = FileFacts{line->file, SizeOf(line->file)};
    return Report(outcome, console);
}

}  // namespace hvx::cli
