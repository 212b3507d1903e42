#include "platform/common/beside_name.h"

#include <algorithm>

#include "platform/file_target.h"

namespace hvx::os::detail {

namespace {

constexpr std::u16string_view kTagStart = u".caspo-";
constexpr std::u16string_view kEnd = u".part";
constexpr std::u16string_view kHexDigits = u"0123456789abcdef";
constexpr int kTagDigits = 16;
constexpr unsigned kBitsPerDigit = 4;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

std::u16string BesidePath(std::u16string_view target, std::u16string_view separators,
                          std::uint64_t tag) {
    const auto last = target.find_last_of(separators);
    const std::size_t nameStart = last == std::u16string_view::npos ? 0 : last + 1;
    const std::size_t nameLength = target.size() - nameStart;
    std::size_t keep = std::min(nameLength, kBesideNameKeep);
    if (keep < nameLength && keep > 0 && IsHighSurrogate(target[nameStart + keep - 1])) {
        --keep;
    }
    std::u16string path(target.substr(0, nameStart + keep));
    path += kTagStart;
    for (int digit = kTagDigits - 1; digit >= 0; --digit) {
        path += kHexDigits[(tag >> (static_cast<unsigned>(digit) * kBitsPerDigit)) & 0xFU];
    }
    path += kEnd;
    return path;
}

}  // namespace hvx::os::detail
