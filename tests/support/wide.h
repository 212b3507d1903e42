// ASCII test text widened to UTF-16, the library's wide text.
#pragma once

#include <string>
#include <string_view>

namespace hvx::test {

inline std::u16string Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace hvx::test
