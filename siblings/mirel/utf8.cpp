#include "siblings/mirel/utf8.h"

#include "platform/base_types.h"
#include "platform/text.h"

namespace hvx::mirel {

std::optional<std::string> ToUtf8(const char16_t* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    if (*text == u'\0') {
        return std::string();
    }
    const int needed = os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0,
                                               nullptr, nullptr);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    const int written = os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1,
                                                utf8.data(), needed, nullptr, nullptr);
    if (written != needed) {
        return std::nullopt;
    }
    utf8.pop_back();  // the converted terminating zero
    return utf8;
}

}  // namespace hvx::mirel
