// Facts about the running operating system that the management client reports: the version
// record of GetVersionEx, the native processor architecture, GetProductInfo, SM_SERVERR2 and the
// time since the system started.
//
// On POSIX the version comes from uname's release ("6.1.0-18-amd64": major 6, minor 1, build
// 0, the first three numbers, a missing one 0); the platform id is 0 and the service pack,
// suite mask and product type are 0, since they have no counterpart. The architecture comes from
// uname's machine name. GetProductInfo and SM_SERVERR2 do not exist there.
#pragma once

#include <cstdint>

#include "platform/base_types.h"

#if !defined(_WIN32)
// The Win32 record, with its field names and sizes.
struct OSVERSIONINFOEXW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char16_t szCSDVersion[128];
    std::uint16_t wServicePackMajor;
    std::uint16_t wServicePackMinor;
    std::uint16_t wSuiteMask;
    std::uint8_t wProductType;
    std::uint8_t wReserved;
};
#endif

namespace hvx::os {

// PROCESSOR_ARCHITECTURE_* values of SYSTEM_INFO.
inline constexpr std::uint16_t kArchitectureIntel = 0;
inline constexpr std::uint16_t kArchitectureArm = 5;
inline constexpr std::uint16_t kArchitectureAmd64 = 9;
inline constexpr std::uint16_t kArchitectureArm64 = 12;
inline constexpr std::uint16_t kArchitectureUnknown = 0xFFFF;

// Fills `info` (its size field set first) from the running system. FALSE when the system will
// not say.
BOOL GetOsVersionInfo(OSVERSIONINFOEXW& info);

// The processor architecture of the machine (not of this process): GetNativeSystemInfo's
// wProcessorArchitecture. kArchitectureUnknown when it is none of the known ones.
std::uint16_t GetNativeArchitecture();

// How GetProductInfo, looked up at run time in "kernel32.dll", went.
enum class ProductInfoLookup : std::uint8_t { ModuleMissing, FunctionMissing, CallFailed, Found };
// The product type of the given version; `type` is 0 unless Found.
ProductInfoLookup LookupProductInfo(DWORD major, DWORD minor, DWORD servicePackMajor,
                                    DWORD servicePackMinor, DWORD& type);

// GetSystemMetrics(SM_SERVERR2) != 0; false on POSIX.
bool IsServerR2();

// Milliseconds since the system started (GetTickCount64; CLOCK_BOOTTIME on POSIX). False when the
// clock cannot be read.
bool GetSystemUpTime(std::uint64_t& milliseconds);

}  // namespace hvx::os
