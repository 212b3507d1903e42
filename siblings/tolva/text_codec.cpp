#include "siblings/tolva/text_codec.h"

#include <limits>

#include "platform/text.h"

namespace tolva {

namespace {

constexpr auto kMaxUnits = static_cast<std::size_t>(std::numeric_limits<int>::max());

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
    if (text.empty()) {
        return std::u16string();
    }
    if (text.size() > kMaxUnits) {
        return std::nullopt;
    }
    const int srcLen = static_cast<int>(text.size());
    const int needed = hvx::os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                                    srcLen, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    if (hvx::os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), srcLen, out.data(),
                                     needed) != needed) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > kMaxUnits) {
        return std::nullopt;
    }
    const int srcLen = static_cast<int>(text.size());
    const int needed = hvx::os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                                    srcLen, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (hvx::os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), srcLen, out.data(),
                                     needed, nullptr, nullptr) != needed) {
        return std::nullopt;
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    return Utf8ToUtf16(text).has_value();
}

}  // namespace tolva
