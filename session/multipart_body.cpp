// hvx::CHttpCurl::BuildMultipartBody: the "multipart/form-data" body of a POST, built in one
// buffer from malloc that grows once per section and that its caller releases with free.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "platform/large_buffer.h"
#include "session/http_curl.h"
#include "session/multipart_head.h"
#include "session/request_buffers.h"
#include "siblings/venit/util.h"

namespace hvx {

namespace {

using multipart::kLineEnd;
using multipart::Put;

// Grows the buffer from `length` to `total` bytes with realloc; on failure the buffer is freed.
// The new part's pages are asked for at once: the section's bytes are copied into them next.
[[nodiscard]] bool Grow(MallocBuffer& buffer, std::size_t length, std::size_t total) {
    void* grown = std::realloc(buffer.get(), total);  // NOLINT(cppcoreguidelines-no-malloc)
    if (grown == nullptr) {
        buffer.reset();
        return false;
    }
    static_cast<void>(buffer.release());
    buffer.reset(static_cast<char*>(grown));
    os::PrefaultBuffer(buffer.get() + length, total - length);
    return true;
}

// Appends one section (and, after the last, the closing boundary line) to the body of `length`
// bytes. Lengths are 32-bit: a body that would reach 4 GiB cannot be built.
[[nodiscard]] bool AppendSection(MallocBuffer& body, std::uint32_t& length, const std::string& head,
                                 const SectionBytes& data, const std::string* closing) {
    std::size_t total = 0;
    const std::size_t closingLength = closing != nullptr ? closing->size() : 0;
    if (!Util::SafeAdd(length, head.size(), total) || !Util::SafeAdd(total, data.size(), total) ||
        !Util::SafeAdd(total, kLineEnd.size() + closingLength, total) ||
        total > std::numeric_limits<std::uint32_t>::max() || !Grow(body, length, total)) {
        body.reset();
        return false;
    }
    char* out = Put(body.get() + length, head);
    out = Put(out, std::string_view(data.data(), data.size()));
    out = Put(out, kLineEnd);
    if (closing != nullptr) {
        Put(out, *closing);
    }
    length = static_cast<std::uint32_t>(total);
    return true;
}

}  // namespace

HRESULT CHttpCurl::BuildMultipartBody(char** buffer, std::uint32_t* length) {
    if (m_pICurl == nullptr || buffer == nullptr || length == nullptr) {
        return HVX_E_INVALID_ARGUMENT;
    }
    if (m_sections.empty()) {
        return S_OK;
    }
    *buffer = nullptr;
    *length = 0;
    if (m_boundary.empty()) {
        GenerateBoundary(m_boundary);
    }
    const std::string closing = multipart::ClosingLine(m_boundary);
    MallocBuffer body;
    std::uint32_t total = 0;
    std::string head;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (const HRESULT hr = multipart::BuildSectionHead(m_sections[i], m_boundary, head);
            FAILED(hr)) {
            return hr;
        }
        const bool last = i + 1 == m_sections.size();
        if (!AppendSection(body, total, head, m_sections[i].data, last ? &closing : nullptr)) {
            return HVX_E_MULTIPART_ALLOC;
        }
    }
    *buffer = body.release();
    *length = total;
    return S_OK;
}

}  // namespace hvx
