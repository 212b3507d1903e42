// The callbacks the transfer engine calls into a session while a transfer runs, on the thread
// that runs it.
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/file.h"
#include "session/http_curl.h"
#include "session/trace_excerpt.h"
#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr std::string_view kLastModified = "Last-Modified";
// The value starts after the name, its colon and one blank.
constexpr std::size_t kLastModifiedValueOffset = 15;
// Room added to a header line's copy for its terminating zero.
constexpr std::size_t kHeaderSlack = 16;
// libcurl's curl_infotype for informational text.
constexpr int kDebugInfoText = 0;
// What a header callback returns to make the engine abort.
constexpr std::size_t kAbortTransfer = std::numeric_limits<std::size_t>::max();
constexpr int kAbortProgress = -1;
constexpr int kStopTransfer = 1;

// The Last-Modified value in a zero-terminated header line, stored in the session.
void CaptureLastModified(CHttpCurl& session, const char* line) {
    const std::string_view text(line);
    const std::size_t position = text.find(kLastModified);
    if (position == std::string_view::npos || text.size() < position + kLastModifiedValueOffset) {
        return;
    }
    std::u16string value;
    if (SUCCEEDED(
            Utf8ToWide(std::string(text.substr(position + kLastModifiedValueOffset)), value))) {
        // An empty value is refused and changes nothing; there is nothing else to do about it.
        static_cast<void>(session.SetLastModified(std::move(value)));
    }
}

}  // namespace

HRESULT CHttpCurl::SetLastModified(std::u16string value) {
    if (value.empty()) {
        return HVX_E_INVALID_ARGUMENT;
    }
    m_lastModified = std::move(value);
    return S_OK;
}

std::size_t CHttpCurl::ParseHeader(char* data, std::size_t size, std::size_t count, void* session) {
    std::size_t bytes = 0;
    std::size_t allocation = 0;
    if (session == nullptr || !Util::SafeMul(size, count, bytes) ||
        !Util::SafeAdd(bytes, kHeaderSlack, allocation)) {
        return kAbortTransfer;
    }
    const Util::UniqueMem<char> line(static_cast<char*>(Util::SafeMalloc(allocation)));
    if (!line) {
        return bytes;
    }
    std::memcpy(line.get(), data, bytes);
    line.get()[bytes] = '\0';
    CaptureLastModified(*static_cast<CHttpCurl*>(session), line.get());
    return bytes;
}

int CHttpCurl::GetShutdownStatus(void* session, double /*downloadTotal*/, double /*downloaded*/,
                                 double /*uploadTotal*/, double /*uploaded*/) {
    if (session == nullptr) {
        return kAbortProgress;
    }
    const ShutdownCallback& shutdown = static_cast<CHttpCurl*>(session)->m_shutdownCallback;
    if (shutdown && shutdown()) {
        trace(kTraceGeneral,
              "hvx::CHttpCurl::GetShutdownStatus shutdown state detected, setting transfer abort "
              "conditions");
        return kStopTransfer;
    }
    return 0;
}

int CHttpCurl::curl_print_callback(void* /*handle*/, int infoType, char* data, std::size_t size,
                                   void* /*user*/) {
    if (infoType == kDebugInfoText && data != nullptr) {
        trace(kTraceGeneral, "curl_print_callback CURL_DEBUG: %s",
              session::TraceExcerpt(std::string_view(data, size)));
    }
    return 0;
}

std::size_t CHttpCurl::WriteData(char* data, std::size_t size, std::size_t count, void* session) {
    if (session == nullptr) {
        return 0;
    }
    HANDLE file = static_cast<CHttpCurl*>(session)->m_hFile;
    std::size_t bytes = 0;
    if (file == nullptr || !Util::SafeMul(size, count, bytes)) {
        return 0;
    }
    if (bytes > std::numeric_limits<DWORD>::max() ||
        !os::WriteFile(file, data, static_cast<DWORD>(bytes), nullptr)) {
        error("hvx::CHttpCurl::WriteData : WriteFile: unable to write using callback");
        return 0;
    }
    return bytes;
}

}  // namespace hvx
