// Hands a session's header callback the header lines of one response, as the transfer engine
// does: each line sits in a buffer of exactly its length, with no terminating zero, so a read
// past its end is caught by the address sanitizer. After every line the session's Last-Modified
// value must be what the capture rule gives: the text from the fifteenth character after the
// first "Last-Modified" (case-sensitive, anywhere in the line, up to the first zero byte), when
// that text is non-empty UTF-8; otherwise the previous value stays.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "session/http_curl.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"

namespace {

using hvx::fuzz::Check;

constexpr std::size_t kAbortTransfer = std::numeric_limits<std::size_t>::max();
constexpr std::string_view kName = "Last-Modified";
constexpr std::size_t kValueOffset = 15;

// The value the capture rule takes from `line`, or nothing when the line leaves the stored
// value alone.
std::u16string ExpectedValue(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    const std::size_t position = line.find(kName);
    if (position == std::string_view::npos || line.size() < position + kValueOffset) {
        return {};
    }
    std::u16string value;
    if (FAILED(hvx::Utf8ToWide(std::string(line.substr(position + kValueOffset)), value))) {
        return {};
    }
    return value;
}

// Sizes whose product, or product plus the callback's room for a terminating zero, does not
// fit, and a missing session: the engine is told to abort before the line is looked at.
void CheckRefused(hvx::CHttpCurl& session, char* line, std::size_t length) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    const std::u16string before = session.LastModified();
    Check(hvx::CHttpCurl::ParseHeader(line, kMax / 2 + 1, 2, &session) == kAbortTransfer);
    Check(hvx::CHttpCurl::ParseHeader(line, 1, kMax - length % 8, &session) == kAbortTransfer);
    Check(hvx::CHttpCurl::ParseHeader(line, 1, length, nullptr) == kAbortTransfer);
    Check(session.LastModified() == before);
}

// Delivers one line as the engine does, its length given as size or as count.
void CheckLine(hvx::CHttpCurl& session, std::string_view text, bool lengthAsSize) {
    const auto line = std::make_unique<char[]>(text.size());
    text.copy(line.get(), text.size());
    CheckRefused(session, line.get(), text.size());

    const std::u16string before = session.LastModified();
    const std::size_t taken =
        lengthAsSize ? hvx::CHttpCurl::ParseHeader(line.get(), text.size(), 1, &session)
                     : hvx::CHttpCurl::ParseHeader(line.get(), 1, text.size(), &session);
    Check(taken == text.size());
    const std::u16string expected = ExpectedValue(text);
    Check(session.LastModified() == (expected.empty() ? before : expected));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    venit::SetLogFile("");
    return 0;
}

// The first byte says, bit by bit, whether line i's length comes as size or as count; the rest
// is the response's header block, cut into lines after each line feed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned shapes = data[0];
    std::string_view block(reinterpret_cast<const char*>(data + 1), size - 1);
    hvx::CHttpCurl session;
    for (unsigned i = 0; !block.empty(); ++i) {
        const std::size_t end = std::min(block.find('\n'), block.size() - 1) + 1;
        CheckLine(session, block.substr(0, end), ((shapes >> (i % 8)) & 1U) != 0);
        block.remove_prefix(end);
    }
    return 0;
}
