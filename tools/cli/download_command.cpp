// caspo download URL FILE: the library's FileDownloader, with the bytes received shown on a
// terminal while it runs (the library writes beside FILE until the download is complete).
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "tools/cli/caspo_library.h"
#include "tools/cli/commands.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
#include "tools/cli/socket_bytes.h"
#include "tools/cli/transfer_progress.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage = "usage: caspo download URL FILE\n";
constexpr std::size_t kOperandCount = 2;

// What is at the path after the download.
FileFacts Inspect(const std::string& path) {
    std::error_code failed;
    const std::uintmax_t size = std::filesystem::file_size(path, failed);
    return {path, failed ? std::nullopt : std::optional<std::uintmax_t>(size)};
}

// The progress line goes to stderr, and only when a person watches it there.
bool WantsProgress(const Console& console) {
    return !console.options.json && isatty(STDERR_FILENO) != 0;
}

}  // namespace

int RunDownloadCommand(const std::vector<std::string>& operands, const Console& console) {
    const auto url = operands.size() == kOperandCount ? Widen(operands[0]) : std::nullopt;
    const auto path = operands.size() == kOperandCount ? Widen(operands[1]) : std::nullopt;
    if (!url || !path) {
        console.err << "caspo download: a URL and a file name are needed, as UTF-8 text\n"
                    << kUsage;
        return kExitUsage;
    }
    const CaspoLibrary library;
    if (!library.Loaded()) {
        console.err << "caspo download: " << library.Problem() << '\n';
        return kExitFailure;
    }
    const RequestWatch watch(*url, console.err);
    const InterruptWatch interrupt;
    Outcome outcome{.command = "download"};
    {
        const DownloaderPtr downloader = library.NewDownloader();
        std::optional<TransferProgress> progress;
        if (WantsProgress(console)) {
            progress.emplace(ReceivedSinceNow(), console.err);
        }
        outcome.result =
            downloader->DownloadHttpFile(url->c_str(), path->c_str(), InterruptWatch::Callback());
    }
    outcome.reason = watch.ReasonFor(outcome.result);
    outcome.interrupted = InterruptWatch::Raised();
    outcome.file = Inspect(operands[1]);
    return Report(outcome, console);
}

}  // namespace hvx::cli
