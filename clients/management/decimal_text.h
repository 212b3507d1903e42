// Numbers as decimal wide text, for form-field names and values.
#pragma once

#include <cstdint>
#include <string>

namespace hvx {

inline std::u16string DecimalText(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace hvx
