// GetUserDefaultLCID from the locale environment (platform/locale.h).
#include "platform/locale.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/posix/locale_table.h"

namespace hvx::os {

namespace {

// Longer settings are not locale names.
constexpr std::size_t kMaxLocaleName = 64;
constexpr std::array<const char*, 3> kLocaleVariables = {"LC_ALL", "LC_MESSAGES", "LANG"};

std::string_view LocaleSetting() {
    for (const char* name : kLocaleVariables) {
        const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
        if (value != nullptr && *value != '\0') {
            return {value, ::strnlen(value, kMaxLocaleName + 1)};
        }
    }
    return {};
}

bool IsAsciiLetters(std::string_view text) {
    return std::ranges::all_of(
        text, [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

std::string AsciiCase(std::string_view text, bool upper) {
    std::string out(text);
    for (char& c : out) {
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace

std::uint32_t GetUserDefaultLCID() {
    std::string_view name = LocaleSetting();
    if (name.empty() || name.size() > kMaxLocaleName) {
        return 0;
    }
    // "language[_territory][.codeset][@modifier]"
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find('_');
    const std::string_view language = name.substr(0, separator);
    const std::string_view territory =
        separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
    if (language.empty() || !IsAsciiLetters(language) || !IsAsciiLetters(territory)) {
        return 0;
    }
    return detail::LookUpLcid(AsciiCase(language, false), AsciiCase(territory, true));
}

}  // namespace hvx::os
