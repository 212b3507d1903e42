// hvx::CHttpCurl::BuildMultipartBody: the "multipart/form-data" body of a POST, built in one
// buffer from malloc that grows once per section and that SendRequest releases with free.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/large_buffer.h"
#include "session/http_curl.h"
#include "session/request_buffers.h"
#include "siblings/venit/util.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr std::string_view kDashes = "--";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeaderSeparator = ": ";
constexpr std::string_view kParameterSeparator = "; ";
constexpr std::string_view kParameterAssign = "=\"";
constexpr std::string_view kParameterEnd = "\"";

// Appends `text` converted to UTF-8.
[[nodiscard]] HRESULT AppendUtf8(std::string& target, const std::u16string& text) {
    std::string utf8;
    const HRESULT hr = WideToUtf8(text, utf8);
    if (SUCCEEDED(hr)) {
        target += utf8;
    }
    return hr;
}

// `; name="value"` for every parameter, unescaped.
[[nodiscard]] HRESULT AppendParameters(std::string& head, const std::vector<TextPair>& parameters) {
    for (const auto& [name, value] : parameters) {
        head += kParameterSeparator;
        if (const HRESULT hr = AppendUtf8(head, name); FAILED(hr)) {
            return hr;
        }
        head += kParameterAssign;
        if (const HRESULT hr = AppendUtf8(head, value); FAILED(hr)) {
            return hr;
        }
        head += kParameterEnd;
    }
    return S_OK;
}

// The boundary line, the header lines (parameters on the first) and the blank line after them.
[[nodiscard]] HRESULT BuildSectionHead(const MultipartSection& section, const std::string& boundary,
                                       std::string& head) {
    head = kDashes;
    head += boundary;
    head += kLineEnd;
    for (std::size_t i = 0; i < section.headers.size(); ++i) {
        const auto& [name, value] = section.headers[i];
        HRESULT hr = AppendUtf8(head, name);
        head += kHeaderSeparator;
        if (SUCCEEDED(hr)) {
            hr = AppendUtf8(head, value);
        }
        if (SUCCEEDED(hr) && i == 0) {
            hr = AppendParameters(head, section.parameters);
        }
        if (FAILED(hr)) {
            return hr;
        }
        head += kLineEnd;
    }
    head += kLineEnd;
    return S_OK;
}

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

char* Put(char* out, std::string_view bytes) {
    if (!bytes.empty()) {
        std::memcpy(out, bytes.data(), bytes.size());
    }
    return out + bytes.size();
}

// Appends one section (and, after the last, the closing boundary line) to the body of `length`
// bytes. Lengths are 32-bit: a body that would reach 4 GiB cannot be built.
[[nodiscard]] bool AppendSection(MallocBuffer& body, std::uint32_t& length, const std::string& head,
                                 const std::vector<char>& data, const std::string* closing) {
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
    const std::string closing =
        std::string(kDashes) + m_boundary + std::string(kDashes) + std::string(kLineEnd);
    MallocBuffer body;
    std::uint32_t total = 0;
    std::string head;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (const HRESULT hr = BuildSectionHead(m_sections[i], m_boundary, head); FAILED(hr)) {
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
