#include "platform/os_facts.h"

#include <sys/utsname.h>

#include <array>
#include <charconv>
#include <cstring>
#include <ctime>
#include <string_view>
#include <utility>

namespace hvx::os {

namespace {

constexpr std::uint64_t kMillisecondsPerSecond = 1000;
constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;

std::string_view Field(const char* text, std::size_t capacity) {
    return {text, ::strnlen(text, capacity)};
}

// The first three dot-separated numbers of a release text; a missing one stays 0.
void ParseRelease(std::string_view release, OSVERSIONINFOEXW& info) {
    std::array<DWORD*, 3> numbers = {&info.dwMajorVersion, &info.dwMinorVersion,
                                     &info.dwBuildNumber};
    const char* next = release.data();
    const char* const end = release.data() + release.size();
    for (std::size_t index = 0; index < numbers.size(); ++index) {
        if (index > 0) {
            if (next == end || *next != '.') {
                return;
            }
            ++next;
        }
        const auto [stop, failure] = std::from_chars(next, end, *numbers.at(index));
        if (failure != std::errc()) {
            return;
        }
        next = stop;
    }
}

}  // namespace

BOOL GetOsVersionInfo(OSVERSIONINFOEXW& info) {
    utsname names{};
    if (::uname(&names) != 0) {
        return FALSE;
    }
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof info;
    ParseRelease(Field(names.release, sizeof names.release), info);
    return TRUE;
}

std::uint16_t GetNativeArchitecture() {
    utsname names{};
    if (::uname(&names) != 0) {
        return kArchitectureUnknown;
    }
    const std::string_view machine = Field(names.machine, sizeof names.machine);
    constexpr std::array<std::pair<std::string_view, std::uint16_t>, 4> kPrefixes = {{
        {"x86_64", kArchitectureAmd64},
        {"aarch64", kArchitectureArm64},
        {"arm", kArchitectureArm},
        {"i", kArchitectureIntel},  // i386 to i686
    }};
    for (const auto& [prefix, architecture] : kPrefixes) {
        if (machine.starts_with(prefix)) {
            return architecture;
        }
    }
    return kArchitectureUnknown;
}

ProductInfoLookup LookupProductInfo(DWORD /*major*/, DWORD /*minor*/, DWORD /*servicePackMajor*/,
                                    DWORD /*servicePackMinor*/, DWORD& type) {
    type = 0;
    return ProductInfoLookup::FunctionMissing;
}

bool IsServerR2() {
    return false;
}

bool GetSystemUpTime(std::uint64_t& milliseconds) {
    timespec now{};
    if (::clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        return false;
    }
    milliseconds = static_cast<std::uint64_t>(now.tv_sec) * kMillisecondsPerSecond +
                   static_cast<std::uint64_t>(now.tv_nsec) / kNanosecondsPerMillisecond;
    return true;
}

}  // namespace hvx::os
