// Transfers of a CurlEngine: GET, POST and PUT on the calling thread's multi handle.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "siblings/mirel/curl_engine.h"
#include "siblings/mirel/first_failure.h"
#include "siblings/mirel/thread_multi.h"
#include "siblings/mirel/url_port.h"
#include "siblings/mirel/utf8.h"

namespace hvx::mirel {

namespace {

// Receive-block sizes: libcurl's largest for bodies streamed to a caller's writer, its default
// for bodies kept in memory.
constexpr long kStreamingBlockSize = CURL_MAX_READ_SIZE;
constexpr long kBufferedBlockSize = CURL_MAX_WRITE_SIZE;

// A POST without body bytes still needs a body pointer: with none, libcurl would call the read
// callback for the body instead.
constexpr const char* kEmptyBody = "";
constexpr curl_off_t kUnknownSize = -1;

}  // namespace

int CurlEngine::Get(const char16_t* url) {
    return Record(Transfer(url, Request{Method::kGet}));
}

int CurlEngine::Post(const char16_t* url, const char* body, std::uint32_t length) {
    return Record(Transfer(url, Request{Method::kPost, body, length}));
}

int CurlEngine::Put(const char16_t* url, const char* body, std::uint32_t length) {
    return Record(Transfer(url, Request{Method::kPut, body, length}));
}

CURLcode CurlEngine::Transfer(const char16_t* url, const Request& request) {
    m_errorBuffer.fill('\0');
    m_sink.Start(m_easy.get(), m_limits, m_callerWrite, m_body);
    CURLcode result = PrepareTransfer(url, request);
    if (result == CURLE_OK) {
        m_stall.Start(m_limits.stallSeconds, m_limits.stallBytesPerSecond,
                      StallGuard::Clock::now());
        result = Conclude(RunOnThreadMulti(m_easy.get()));
    }
    // The handle must not keep pointers to the caller's body once the call returns.
    const CURLcode reset = ResetMethod();
    return result != CURLE_OK ? result : reset;
}

CURLcode CurlEngine::PrepareTransfer(const char16_t* url, const Request& request) {
    if (request.body == nullptr && request.length > 0) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "request body is null");
    }
    const CURLcode urlResult = ApplyUrl(url);
    if (urlResult != CURLE_OK) {
        return urlResult;
    }
    return FirstFailure({
        ApplyMethod(request),
        ApplyWriteTarget(),
        ApplyLimits(),
        curl_easy_setopt(m_easy.get(), CURLOPT_HTTPHEADER, m_headers.Get()),
    });
}

CURLcode CurlEngine::ApplyUrl(const char16_t* url) {
    const std::optional<std::string> utf8 = ToUtf8(url);
    if (!utf8) {
        return Refuse(CURLE_URL_MALFORMAT, "URL is null or not valid UTF-16");
    }
    // libcurl's own CURLOPT_PORT would override a port written in the URL.
    const long port = UrlNamesPort(*utf8) ? 0L : m_defaultPort;
    return FirstFailure({
        curl_easy_setopt(m_easy.get(), CURLOPT_URL, utf8->c_str()),
        curl_easy_setopt(m_easy.get(), CURLOPT_PORT, port),
    });
}

CURLcode CurlEngine::ApplyMethod(const Request& request) {
    const CURLcode reset = ResetMethod();
    if (reset != CURLE_OK || request.method == Method::kGet) {
        return reset;
    }
    CURL* easy = m_easy.get();
    const auto size = static_cast<curl_off_t>(request.length);
    if (request.method == Method::kPost) {
        // The size first: without it libcurl would take the body for zero-terminated text.
        return FirstFailure({
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, size),
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS,
                             request.body != nullptr ? request.body : kEmptyBody),
        });
    }
    m_upload = UploadSource{request.body, request.length};
    return FirstFailure({
        curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L),
        curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, size),
    });
}

CURLcode CurlEngine::ResetMethod() {
    m_upload = {};
    CURL* easy = m_easy.get();
    // CURLOPT_POSTFIELDS switches the handle to POST, so CURLOPT_HTTPGET comes last.
    return FirstFailure({
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, static_cast<const char*>(nullptr)),
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, kUnknownSize),
        curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, kUnknownSize),
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L),
    });
}

CURLcode CurlEngine::ApplyWriteTarget() {
    CURL* easy = m_easy.get();
    // A caller's writer streams the body somewhere (a file): large blocks mean fewer calls and
    // fewer writes. Bodies kept in memory stay with libcurl's default, so a session that fetches
    // a few bytes does not allocate half a megabyte.
    const long blockSize =
        m_callerWrite.function != nullptr ? kStreamingBlockSize : kBufferedBlockSize;
    return FirstFailure({
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &BodySink::Write),
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &m_sink),
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, blockSize),
    });
}

std::size_t CurlEngine::UploadSource::Read(char* buffer, std::size_t size, std::size_t count,
                                           void* user) noexcept {
    auto* source = static_cast<UploadSource*>(user);
    const std::size_t bytes = std::min(size * count, source->left);
    if (bytes > 0) {
        std::memcpy(buffer, source->next, bytes);
        source->next += bytes;
        source->left -= bytes;
    }
    return bytes;
}

}  // namespace hvx::mirel
