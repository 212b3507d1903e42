// The Windows locale identifiers of the common languages and territories.
#pragma once

#include <cstdint>
#include <string_view>

namespace hvx::os::detail {

// The LCID of a language ("de", lower case) and territory ("AT", upper case, may be empty): the
// exact pair, else the language's main locale, else 0.
std::uint32_t LookUpLcid(std::string_view language, std::string_view territory);

}  // namespace hvx::os::detail
