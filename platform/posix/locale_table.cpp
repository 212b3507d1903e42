#include "platform/posix/locale_table.h"

#include <algorithm>
#include <array>

namespace hvx::os::detail {

namespace {

struct LocaleEntry {
    std::string_view language;
    std::string_view territory;
    std::uint32_t lcid;
};

// Each language's main locale comes first among its rows.
constexpr std::array kLocales = {
    LocaleEntry{"ar", "SA", 1025},  LocaleEntry{"ar", "EG", 3073},  LocaleEntry{"bg", "BG", 1026},
    LocaleEntry{"ca", "ES", 1027},  LocaleEntry{"cs", "CZ", 1029},  LocaleEntry{"da", "DK", 1030},
    LocaleEntry{"de", "DE", 1031},  LocaleEntry{"de", "CH", 2055},  LocaleEntry{"de", "AT", 3079},
    LocaleEntry{"de", "LU", 4103},  LocaleEntry{"de", "LI", 5127},  LocaleEntry{"el", "GR", 1032},
    LocaleEntry{"en", "US", 1033},  LocaleEntry{"en", "GB", 2057},  LocaleEntry{"en", "AU", 3081},
    LocaleEntry{"en", "CA", 4105},  LocaleEntry{"en", "NZ", 5129},  LocaleEntry{"en", "IE", 6153},
    LocaleEntry{"en", "ZA", 7177},  LocaleEntry{"en", "IN", 16393}, LocaleEntry{"es", "ES", 3082},
    LocaleEntry{"es", "MX", 2058},  LocaleEntry{"es", "CO", 9226},  LocaleEntry{"es", "AR", 11274},
    LocaleEntry{"es", "CL", 13322}, LocaleEntry{"et", "EE", 1061},  LocaleEntry{"fi", "FI", 1035},
    LocaleEntry{"fr", "FR", 1036},  LocaleEntry{"fr", "BE", 2060},  LocaleEntry{"fr", "CA", 3084},
    LocaleEntry{"fr", "CH", 4108},  LocaleEntry{"fr", "LU", 5132},  LocaleEntry{"he", "IL", 1037},
    LocaleEntry{"hi", "IN", 1081},  LocaleEntry{"hr", "HR", 1050},  LocaleEntry{"hu", "HU", 1038},
    LocaleEntry{"id", "ID", 1057},  LocaleEntry{"it", "IT", 1040},  LocaleEntry{"it", "CH", 2064},
    LocaleEntry{"ja", "JP", 1041},  LocaleEntry{"ko", "KR", 1042},  LocaleEntry{"lt", "LT", 1063},
    LocaleEntry{"lv", "LV", 1062},  LocaleEntry{"ms", "MY", 1086},  LocaleEntry{"nb", "NO", 1044},
    LocaleEntry{"nl", "NL", 1043},  LocaleEntry{"nl", "BE", 2067},  LocaleEntry{"nn", "NO", 2068},
    LocaleEntry{"pl", "PL", 1045},  LocaleEntry{"pt", "BR", 1046},  LocaleEntry{"pt", "PT", 2070},
    LocaleEntry{"ro", "RO", 1048},  LocaleEntry{"ru", "RU", 1049},  LocaleEntry{"sk", "SK", 1051},
    LocaleEntry{"sl", "SI", 1060},  LocaleEntry{"sv", "SE", 1053},  LocaleEntry{"sv", "FI", 2077},
    LocaleEntry{"th", "TH", 1054},  LocaleEntry{"tr", "TR", 1055},  LocaleEntry{"uk", "UA", 1058},
    LocaleEntry{"vi", "VN", 1066},  LocaleEntry{"zh", "CN", 2052},  LocaleEntry{"zh", "TW", 1028},
    LocaleEntry{"zh", "HK", 3076},  LocaleEntry{"zh", "SG", 4100},
};

}  // namespace

std::uint32_t LookUpLcid(std::string_view language, std::string_view territory) {
    const auto* const exact = std::ranges::find_if(kLocales, [&](const LocaleEntry& entry) {
        return entry.language == language && entry.territory == territory;
    });
    if (exact != kLocales.end()) {
        return exact->lcid;
    }
    const auto* const main = std::ranges::find(kLocales, language, &LocaleEntry::language);
    return main != kLocales.end() ? main->lcid : 0;
}

}  // namespace hvx::os::detail
