// hvx::CHttpCurl::MakeRequest and its string, wide-string and buffer forms: run the request,
// map the status and hand the response body to the caller.
//
// Bodies of hundreds of MiB are read this way, and every copy into fresh memory costs about as
// much as the transfer itself. So each copy is one pass into memory sized once, and the buffer
// form reads the engine's parts straight into the caller's buffer: the result, the status, the
// size and the buffer are the same as if the body went through the byte list and the string.
//
// Before the transfer each form tells the engine what it can take (session/transfer_limits.h):
// the byte-list forms a configured ceiling, the buffer form its capacity, past which the engine
// only counts the body so that the size reported is still its length.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "session/body_reader.h"
#include "session/http_curl.h"
#include "session/http_status.h"
#include "session/request_buffers.h"
#include "session/transfer_limits.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

// Appends every part of the body to `body`; true when a part delivered bytes. The parts pass
// through a small buffer that stays in the cache, so the body's bytes cross memory once.
bool ReadWholeBody(ITransferEngine& engine, std::vector<char>& body) {
    session::BodyReader reader(engine);
    body.reserve(body.size() + static_cast<std::size_t>(reader.Unread()));
    std::array<char, kBodyPartSize> part{};
    bool delivered = false;
    while (const std::uint32_t count = reader.ReadPart(part.data())) {
        body.insert(body.end(), part.data(), part.data() + count);
        delivered = true;
    }
    return delivered;
}

// Reads the body into the caller's buffer of `capacity` bytes and gives its length. Whole parts
// are read in place while they fit, the last one through a scratch part. A body too long for the
// buffer (with its zero byte) is only counted, not copied; the engine did not keep it.
std::uint64_t ReadBodyInto(ITransferEngine& engine, char* buffer, std::uint32_t capacity) {
    session::BodyReader reader(engine);
    if (const std::uint64_t received = reader.Received(); received > 0 && received >= capacity) {
        return received;
    }
    const bool copy = buffer != nullptr && reader.Unread() < capacity;
    std::array<char, kBodyPartSize> part{};
    std::uint64_t length = 0;
    while (true) {
        const bool inPlace = copy && length + kBodyPartSize <= capacity;
        char* target = inPlace ? buffer + length : part.data();
        const std::uint32_t count = reader.ReadPart(target);
        if (count == 0) {
            return length;
        }
        if (copy && !inPlace && length + count <= capacity) {
            std::memcpy(buffer + length, part.data(), count);
        }
        length += count;
    }
}

}  // namespace

HRESULT CHttpCurl::StartRequest(std::uint32_t& status, const TransferLimits& limits) {
    HRESULT hr = session::ApplyTransferLimits(m_pICurl, limits);
    if (SUCCEEDED(hr)) {
        hr = SendRequest();
    }
    return FAILED(hr) ? hr : GetResponse(status);
}

HRESULT CHttpCurl::NoResponseBody() {
    m_errorText = EngineErrorText();
    return HVX_E_NO_RESPONSE_BODY;
}

HRESULT CHttpCurl::RequestFailed(HRESULT result) {
    error(u"hvx::CHttpCurl::MakeRequestError occured, 0x%08x: %s / %hs", result, m_errorText,
          EngineLastError());
    return result;
}

HRESULT CHttpCurl::MakeRequest(std::uint32_t& status, std::vector<char>& body) {
    const HRESULT hr = StartRequest(status, session::ListLimits(m_pConfig));
    if (FAILED(hr)) {
        return RequestFailed(hr);
    }
    // A 304 answer leaves the caller's body as it was.
    if (status == http::kNotModified) {
        return hr;
    }
    body.clear();
    return ReadWholeBody(*m_pICurl, body) ? hr : RequestFailed(NoResponseBody());
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
    HRESULT hr = StartRequest(received, session::BufferLimits(m_pConfig, *size));
    if (FAILED(hr)) {
        return RequestFailed(hr);
    }
    std::uint64_t length = 0;
    if (received != http::kNotModified) {
        length = ReadBodyInto(*m_pICurl, buffer, *size);
        if (length == 0) {
            return RequestFailed(NoResponseBody());
        }
    }
    if (length + 1 <= *size) {
        if (buffer != nullptr) {
            buffer[length] = '\0';
        }
        *status = received;
    } else {
        // Only an engine that announced less than it held leaves parts behind: they are not the
        // body, so the buffer reads as empty again.
        if (buffer != nullptr) {
            buffer[0] = '\0';
        }
        hr = HVX_E_INSUFFICIENT_BUFFER;
    }
    // A body of 4 GiB or more reports the largest size there is: no buffer can hold it.
    *size = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, UINT32_MAX));
    return hr;
}

}  // namespace hvx
