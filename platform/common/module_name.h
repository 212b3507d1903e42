// Module names compare without regard to ASCII letter case, as Windows compares file names.
#pragma once

#include <string>
#include <string_view>

namespace hvx::os::detail {

inline std::u16string FoldModuleName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return folded;
}

}  // namespace hvx::os::detail
