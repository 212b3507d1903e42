// The two TLS checks of a session and the rule that turns them on: a check is on only when its
// key reads exactly 1. Absent, 0, 2 (libcurl's own value for host verification) or any other
// number leaves it off. The session warns about an HTTPS session that runs with a check off,
// and `caspo` prints the same warning, so both take the rule and the text from here.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "interfaces/IConfig.h"
#include "interfaces/ITransferEngine.h"
#include "support/config_keys.h"

namespace hvx::tls {

struct Check {
    const char* name;  // "host" or "peer"
    const char* key;
    std::uint32_t flag;  // the engine's verification flag
};

inline constexpr std::array<Check, 2> kChecks{
    {{"host", keys::kVerifyHost, kVerifyHost}, {"peer", keys::kVerifyPeer, kVerifyPeer}}};
inline constexpr std::uint32_t kCheckOn = 1;
inline constexpr std::uint32_t kCheckOff = 0;

constexpr bool IsOn(std::uint32_t stored) {
    return stored == kCheckOn;
}

// The engine takes the scheme in any letter case ("HTTPS://" passes the URL check too).
constexpr bool IsHttpsScheme(std::u16string_view scheme) {
    constexpr std::u16string_view kHttps = u"https";
    return std::ranges::equal(scheme, kHttps, [](char16_t letter, char16_t lower) {
        return letter == lower || letter == lower - u'a' + u'A';
    });
}

// "TLS host verification is off for HTTPS: config/conn/varenssl/verifyhost is 2 (only 1 turns
// it on)". The value is named as the store holds it ("absent" for none); 0, the one meant to
// turn the check off, gets no hint.
inline std::string OffWarning(const Check& check, std::uint32_t stored) {
    std::string text = std::string("TLS ") + check.name +
                       " verification is off for HTTPS: " + check.key + " is " +
                       (stored == kConfigAbsent ? std::string("absent") : std::to_string(stored));
    if (stored != kCheckOff) {
        text += " (only 1 turns it on)";
    }
    return text;
}

}  // namespace hvx::tls
