// caspo get / caspo post: one request through the library's IHttp facade, with the body read
// into memory.
#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/cli/caspo_library.h"
#include "tools/cli/commands.h"
#include "tools/cli/interrupt.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage =
    "usage: caspo get URL [-H 'Name: value']...\n"
    "       caspo post URL [-F name=value]... [-H 'Name: value']...\n";
// Bodies are read into memory up to this size; larger ones are for `caspo download`.
constexpr std::uint32_t kBodyCapacity = std::uint32_t{64} << 20U;
constexpr std::string_view kFieldOption = "-F";
constexpr std::string_view kHeaderOption = "-H";

using WidePair = std::pair<std::u16string, std::u16string>;

struct RequestLine {
    std::u16string method;
    std::u16string url;
    std::vector<WidePair> fields;
    std::vector<WidePair> headers;
    std::string problem;
};

std::string TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return std::string(text);
}

// "name=value" (a field) or "Name: value" (a header), split at the first separator.
bool SplitPair(const std::string& text, char separator, WidePair& pair) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos || at == 0) {
        return false;
    }
    auto name = Widen(text.substr(0, at));
    auto value = Widen(separator == ':' ? TrimLeft(std::string_view(text).substr(at + 1))
                                        : text.substr(at + 1));
    if (!name || !value) {
        return false;
    }
    pair = {std::move(*name), std::move(*value)};
    return true;
}

// Takes one -F or -H with its value, starting at operands[index].
bool TakePair(const std::vector<std::string>& operands, std::size_t& index, RequestLine& line) {
    const bool field = operands[index] == kFieldOption;
    if (index + 1 >= operands.size()) {
        line.problem = operands[index] + " needs a value";
        return false;
    }
    const std::string& text = operands[++index];
    WidePair pair;
    if (!SplitPair(text, field ? '=' : ':', pair)) {
        line.problem = field ? "a form field is written name=value: \"" + text + "\""
                             : "a header is written 'Name: value': \"" + text + "\"";
        return false;
    }
    (field ? line.fields : line.headers).push_back(std::move(pair));
    return true;
}

RequestLine ParseRequestLine(const std::string& command, const std::vector<std::string>& operands) {
    RequestLine line;
    for (const char letter : command) {
        line.method.push_back(
            static_cast<char16_t>(std::toupper(static_cast<unsigned char>(letter))));
    }
    const bool mayPost = command == "post";
    for (std::size_t index = 0; index < operands.size(); ++index) {
        const std::string& word = operands[index];
        if (word == kHeaderOption || (word == kFieldOption && mayPost)) {
            if (!TakePair(operands, index, line)) {
                return line;
            }
        } else if (line.url.empty() && !word.starts_with('-')) {
            auto url = Widen(word);
            line.url = url ? std::move(*url) : std::u16string();
            if (line.url.empty()) {
                line.problem = "the URL is not UTF-8 text";
                return line;
            }
        } else {
            line.problem = "unexpected \"" + word + "\"";
            return line;
        }
    }
    if (line.url.empty()) {
        line.problem = "a URL is needed";
    }
    return line;
}

// Binds the facade to the request and adds its headers and form fields.
[[nodiscard]] HRESULT Prepare(IHttp& http, const RequestLine& line) {
    const HRESULT hr =
        http.Init(line.method.c_str(), line.url.c_str(), InterruptWatch::Callback(), nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    for (const auto& [name, value] : line.headers) {
        // Always 0: a header is only recorded here.
        static_cast<void>(http.AddHeader(name.c_str(), value.c_str()));
    }
    for (const auto& [name, value] : line.fields) {
        if (const HRESULT added = http.AddFormField(name.c_str(), value.c_str()); FAILED(added)) {
            return added;
        }
    }
    return hr;
}

}  // namespace

int RunRequestCommand(const std::string& command, const std::vector<std::string>& operands,
                      const Console& console) {
    const RequestLine line = ParseRequestLine(command, operands);
    if (!line.problem.empty()) {
        console.err << "caspo " << command << ": " << line.problem << '\n' << kUsage;
        return kExitUsage;
    }
    const CaspoLibrary library;
    if (!library.Loaded()) {
        console.err << "caspo " << command << ": " << library.Problem() << '\n';
        return kExitFailure;
    }
    const RequestWatch watch(line.url, console.err);
    const InterruptWatch interrupt;
    const HttpPtr http = library.NewHttp();
    Outcome outcome{.command = command, .hasStatus = true};
    outcome.result = Prepare(*http, line);
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBodyCapacity);
    if (SUCCEEDED(outcome.result)) {
        std::uint32_t status = 0;
        std::uint32_t size = kBodyCapacity;
        outcome.result = http->MakeRequest(&status, &size, buffer.get());
        if (SUCCEEDED(outcome.result)) {
            outcome.status = status;
            outcome.body = std::string_view(buffer.get(), size);
        }
    }
    outcome.reason = watch.ReasonFor(outcome.result);
    outcome.interrupted = InterruptWatch::Raised();
    if (outcome.result == HVX_E_INSUFFICIENT_BUFFER) {
        console.err << "caspo " << command << ": bodies over " << (kBodyCapacity >> 20U)
                    << " MiB are for caspo download\n";
    }
    return Report(outcome, console);
}

}  // namespace hvx::cli
