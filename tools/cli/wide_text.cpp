#include "tools/cli/wide_text.h"

#include <climits>

#include "platform/text.h"

namespace hvx::cli {

std::optional<std::u16string> Widen(const std::string& text) {
    if (text.empty()) {
        return std::u16string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    if (os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                                needed) != needed) {
        return std::nullopt;
    }
    return wide;
}

std::string Narrow(const std::u16string& text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        os::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    if (os::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr,
                                nullptr) != needed) {
        return {};
    }
    return narrow;
}

}  // namespace hvx::cli
