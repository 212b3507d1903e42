// Dotted version numbers ("6.5.1", "6.5.0.11255") read the way "%d.%d.%d" reads them: each
// field a signed decimal number (blanks before it skipped), the fields joined by single dots;
// reading stops at the first field that does not parse, and fields not read count as 0. A field
// beyond the range of a 32-bit signed number is taken at the nearest end of that range.
// Versions compare field by field as unsigned 32-bit numbers, so a negative field ranks above
// every positive one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace hvx::update {

template <std::size_t Fields>
using VersionNumber = std::array<std::uint32_t, Fields>;

// The first `count` fields of `text` (at most 4).
std::array<std::uint32_t, 4> ReadVersionFields(std::u16string_view text, std::size_t count);

template <std::size_t Fields>
VersionNumber<Fields> ReadVersion(std::u16string_view text) {
    static_assert(Fields <= 4);
    const auto all = ReadVersionFields(text, Fields);
    VersionNumber<Fields> version{};
    for (std::size_t i = 0; i < Fields; ++i) {
        version.at(i) = all.at(i);
    }
    return version;
}

// The first unequal field decides; equal versions are not greater.
template <std::size_t Fields>
bool IsGreater(const VersionNumber<Fields>& a, const VersionNumber<Fields>& b) {
    return a > b;
}

}  // namespace hvx::update
