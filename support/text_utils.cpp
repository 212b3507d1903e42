#include "support/text_utils.h"

#include <vector>

#include "interfaces/hvx_types.h"
#include "platform/text.h"

namespace hvx {

namespace {

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9');
}

}  // namespace

HRESULT Utf8ToWide(const std::string& utf8, std::u16string& wide) {
    const int length =
        os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, nullptr, 0);
    if (length == 0) {
        return E_INVALIDARG;
    }
    std::vector<char16_t> buffer(static_cast<std::size_t>(length), u'\0');
    if (os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, buffer.data(),
                                length) == 0) {
        return E_INVALIDARG;
    }
    wide.assign(buffer.data());
    return S_OK;
}

HRESULT WideToUtf8(const std::u16string& wide, std::string& utf8) {
    const int length =
        os::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length == 0) {
        return HVX_E_UTF8_LENGTH;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length), '\0');
    if (os::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, buffer.data(), length, nullptr,
                                nullptr) == 0) {
        return HVX_E_GENERAL;
    }
    utf8.assign(buffer.data());
    return S_OK;
}

HRESULT UrlEncode(const std::u16string& text, std::string& encoded) {
    std::string utf8;
    const HRESULT hr = WideToUtf8(text, utf8);
    if (FAILED(hr)) {
        return hr;
    }
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(utf8.size() * 3);
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            result.push_back(c);
        } else {
            result.push_back('%');
            result.push_back(kHexDigits[byte >> 4U]);
            result.push_back(kHexDigits[byte & 0x0FU]);
        }
    }
    encoded = std::move(result);
    return S_OK;
}

HRESULT UrlEncodeW(const std::u16string& text, std::u16string& encoded) {
    std::string narrow;
    const HRESULT hr = UrlEncode(text, narrow);
    if (FAILED(hr)) {
        return hr;
    }
    return Utf8ToWide(narrow, encoded);
}

}  // namespace hvx
