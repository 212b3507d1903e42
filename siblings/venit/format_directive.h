// One printf conversion ("%-08.3I64x") as the formatter reads it from a format text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace venit::detail {

// The integer size a length modifier selects, Windows (LLP64) style.
enum class IntSize : std::uint8_t { Default, Char, Short, Long64 };

// What a conversion character asks for.
enum class Conversion : std::uint8_t {
    Text,       // s S
    Character,  // c C
    Signed,     // d i
    Unsigned,   // u
    Octal,      // o
    Hex,        // x
    HexUpper,   // X
    Pointer,    // p
    Float,      // e E f F g G
    Percent,    // %
};

// A field never grows beyond this many units, so a hostile format cannot make a record huge.
inline constexpr int kMaxField = 4096;

struct Directive {
    bool valid = false;   // false: copy the format text [start, end) as it stands
    std::size_t end = 0;  // the format position after the conversion

    bool leftAlign = false;  // -
    bool plusSign = false;   // +
    bool blankSign = false;  // blank
    bool zeroPad = false;    // 0
    bool alternate = false;  // #
    bool widthFromArg = false;
    bool precisionFromArg = false;
    int width = 0;       // 0: none
    int precision = -1;  // -1: none
    IntSize intSize = IntSize::Default;
    Conversion conversion = Conversion::Percent;
    char letter = '%';  // the conversion character (e, E, f, ... decide the float form)
};

// Reads the conversion that starts with the '%' at `start`. An unknown conversion character
// ends the conversion (end is just past it); a format that ends inside one gives end = size.
Directive ParseConversion(std::string_view format, std::size_t start);
Directive ParseConversion(std::u16string_view format, std::size_t start);

}  // namespace venit::detail
