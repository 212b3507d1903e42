#include "siblings/venit/os_version.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <string_view>

#include "platform/os_release.h"

namespace Util {

namespace {

struct VersionField {
    unsigned shift;
    std::uint32_t largest;
};
constexpr std::array<VersionField, 3> kFields = {{{24, 0xFF}, {16, 0xFF}, {0, 0xFFFF}}};

}  // namespace

std::uint32_t GetOsVersion() {
    const std::string text = hvx::os::GetOsRelease();
    const std::string_view release(text);
    const char* next = release.data();
    const char* const end = release.data() + release.size();
    std::uint32_t version = 0;
    for (std::size_t index = 0; index < kFields.size(); ++index) {
        if (index > 0) {
            if (next == end || *next != '.') {
                break;
            }
            ++next;
        }
        std::uint64_t number = 0;
        const auto [stop, failure] = std::from_chars(next, end, number);
        if (failure != std::errc()) {
            break;
        }
        next = stop;
        const VersionField field = kFields.at(index);
        version |= static_cast<std::uint32_t>(std::min<std::uint64_t>(number, field.largest))
                   << field.shift;
    }
    return version;
}

}  // namespace Util
