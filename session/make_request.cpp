// hvx::CHttpCurl::MakeRequest and its string, wide-string and buffer forms: run the request,
// map the status and hand the response body to the caller.
//
// The body is copied from the engine into the byte list, from there into the string and from
// there into the caller's buffer; each copy is one pass into memory sized once, because bodies
// of hundreds of MiB are read this way.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "session/http_curl.h"
#include "session/request_buffers.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr std::uint32_t kNotModified = 304;

// Appends the engine's buffered response body to `body`, part by part; true when a part
// delivered bytes. The parts pass through a small buffer that stays in the cache, so the body's
// bytes cross memory once.
bool ReadResponseBody(ITransferEngine& engine, std::vector<char>& body) {
    std::uint64_t unread = 0;
    if (!TransferFailed(engine.GetUnreadBodyLength(&unread))) {
        body.reserve(body.size() + static_cast<std::size_t>(unread));
    }
    std::array<char, kBodyPartSize> part{};
    bool delivered = false;
    while (true) {
        std::uint32_t count = 0;
        if (TransferFailed(engine.ReadBody(part.data(), kBodyPartSize, &count)) || count == 0) {
            return delivered;
        }
        count = std::min(count, kBodyPartSize);
        body.insert(body.end(), part.data(), part.data() + count);
        delivered = true;
    }
}

}  // namespace

HRESULT CHttpCurl::MakeRequest(std::uint32_t& status, std::vector<char>& body) {
    HRESULT hr = SendRequest();
    if (SUCCEEDED(hr)) {
        hr = GetResponse(status);
    }
    if (SUCCEEDED(hr)) {
        // A 304 answer leaves the caller's body as it was.
        if (status == kNotModified) {
            return hr;
        }
        body.clear();
        if (ReadResponseBody(*m_pICurl, body)) {
            return hr;
        }
        m_errorText = EngineErrorText();
        hr = HVX_E_NO_RESPONSE_BODY;
    }
    error(u"hvx::CHttpCurl::MakeRequestError occured, 0x%08x: %s / %hs", hr, m_errorText,
          EngineLastError());
    return hr;
}

HRESULT CHttpCurl::MakeRequestToString(std::uint32_t& status, std::string& body) {
    std::vector<char> bytes;
    const HRESULT hr = MakeRequest(status, bytes);
    if (!bytes.empty()) {
        body.assign(bytes.data(), bytes.size());
    }
    return hr;
}

HRESULT CHttpCurl::MakeRequestToWideString(std::uint32_t& status, std::u16string& body) {
    std::string text;
    const HRESULT hr = MakeRequestToString(status, text);
    if (SUCCEEDED(hr) && !text.empty()) {
        return Utf8ToWide(text, body);
    }
    return hr;
}

HRESULT CHttpCurl::MakeRequest(std::uint32_t* status, std::uint32_t* size, char* buffer) {
    // Callers must pass both; a null one is refused rather than written through.
    if (status == nullptr || size == nullptr) {
        return HVX_E_INVALID_ARGUMENT;
    }
    if (buffer != nullptr) {
        buffer[0] = '\0';
    }
    std::uint32_t received = 0;
    std::string body;
    HRESULT hr = MakeRequestToString(received, body);
    if (FAILED(hr)) {
        return hr;
    }
    const std::size_t length = body.size();
    if (length + 1 <= *size) {
        if (buffer != nullptr) {
            if (length != 0) {
                std::memcpy(buffer, body.data(), length);
            }
            buffer[length] = '\0';
        }
        *status = received;
    } else {
        hr = HVX_E_INSUFFICIENT_BUFFER;
    }
    *size = static_cast<std::uint32_t>(length);
    return hr;
}

}  // namespace hvx
