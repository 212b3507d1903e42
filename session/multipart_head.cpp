// The heads of multipart sections and the closing line of the body.
#include "session/multipart_head.h"

#include <cstring>
#include <vector>

#include "support/text_utils.h"

namespace hvx::multipart {

namespace {

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

}  // namespace

HRESULT BuildSectionHead(const MultipartSection& section, std::string_view boundary,
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

std::string ClosingLine(std::string_view boundary) {
    std::string closing(kDashes);
    closing += boundary;
    closing += kDashes;
    closing += kLineEnd;
    return closing;
}

char* Put(char* out, std::string_view bytes) {
    if (!bytes.empty()) {
        std::memcpy(out, bytes.data(), bytes.size());
    }
    return out + bytes.size();
}

}  // namespace hvx::multipart
