// RtlGetVersion of ntdll, looked up at run time (its declaration is in the driver kit's headers).
#include "platform/os_release.h"

#include "platform/base_types.h"

namespace hvx::os {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

std::string GetOsRelease() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll != nullptr ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                            ::GetProcAddress(ntdll, "RtlGetVersion")))
                                      : nullptr;
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (get == nullptr || get(&version) != 0) {
        return {};
    }
    return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
           "." + std::to_string(version.dwBuildNumber);
}

}  // namespace hvx::os
