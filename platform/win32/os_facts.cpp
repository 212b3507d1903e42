#include "platform/os_facts.h"

namespace hvx::os {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
using GetProductInfoFn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);

template <typename Function>
Function Entry(HMODULE module, const char* name) {
    // GetProcAddress hands out a generic function pointer; the caller names its real type.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

BOOL GetOsVersionInfo(OSVERSIONINFOEXW& info) {
    // GetVersionExW reports the version the program's manifest claims; ntdll's RtlGetVersion
    // reports the running system's.
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof info;
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll != nullptr ? Entry<RtlGetVersionFn>(ntdll, "RtlGetVersion") : nullptr;
    return rtlGetVersion != nullptr && rtlGetVersion(&info) == 0 ? TRUE : FALSE;
}

std::uint16_t GetNativeArchitecture() {
    SYSTEM_INFO info{};
    ::GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}

ProductInfoLookup LookupProductInfo(DWORD major, DWORD minor, DWORD servicePackMajor,
                                    DWORD servicePackMinor, DWORD& type) {
    type = 0;
    HMODULE kernel32 = ::LoadLibraryW(L"kernel32.dll");
    if (kernel32 == nullptr) {
        return ProductInfoLookup::ModuleMissing;
    }
    ProductInfoLookup outcome = ProductInfoLookup::FunctionMissing;
    const auto getProductInfo = Entry<GetProductInfoFn>(kernel32, "GetProductInfo");
    if (getProductInfo != nullptr) {
        outcome = getProductInfo(major, minor, servicePackMajor, servicePackMinor, &type) != FALSE
                      ? ProductInfoLookup::Found
                      : ProductInfoLookup::CallFailed;
    }
    ::FreeLibrary(kernel32);
    return outcome;
}

bool IsServerR2() {
    return ::GetSystemMetrics(SM_SERVERR2) != 0;
}

bool GetSystemUpTime(std::uint64_t& milliseconds) {
    milliseconds = ::GetTickCount64();
    return true;
}

}  // namespace hvx::os
