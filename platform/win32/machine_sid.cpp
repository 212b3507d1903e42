#include "platform/machine_sid.h"

#include <sddl.h>

// sddl.h and winbase.h name the A or W form through these macros; the platform's own functions
// carry the plain names.
#undef ConvertSidToStringSid
#undef LookupAccountSid

namespace hvx::os {

namespace {

constexpr DWORD kDomainCapacity = 1024;
constexpr std::size_t kSidHeader = 8;  // revision, count, six bytes of authority

}  // namespace

DWORD LookupAccountSid(const std::u16string& account, const MachineIdFallback& /*fallback*/,
                       std::vector<std::uint8_t>& sid) {
    sid.clear();
    const auto* name = reinterpret_cast<LPCWSTR>(account.c_str());
    DWORD sidSize = 0;
    std::wstring domain(kDomainCapacity, L'\0');
    DWORD domainSize = kDomainCapacity;
    SID_NAME_USE use{};
    ::LookupAccountNameW(nullptr, name, nullptr, &sidSize, domain.data(), &domainSize, &use);
    if (sidSize == 0) {
        return ::GetLastError();
    }
    std::vector<std::uint8_t> bytes(sidSize, 0);
    domainSize = kDomainCapacity;
    if (::LookupAccountNameW(nullptr, name, bytes.data(), &sidSize, domain.data(), &domainSize,
                             &use) == FALSE) {
        return ::GetLastError();
    }
    sid = std::move(bytes);
    return ERROR_SUCCESS;
}

bool ConvertSidToStringSid(const std::vector<std::uint8_t>& sid, std::u16string& text) {
    // IsValidSid and ConvertSidToStringSidW trust the sub-authority count: the bytes must hold
    // the header and exactly that many sub-authorities.
    auto* bytes = const_cast<std::uint8_t*>(sid.data());
    if (sid.size() < kSidHeader || ::IsValidSid(bytes) == FALSE ||
        ::GetLengthSid(bytes) != sid.size()) {
        return false;
    }
    LPWSTR made = nullptr;
    if (::ConvertSidToStringSidW(bytes, &made) == FALSE) {
        return false;
    }
    text = reinterpret_cast<const char16_t*>(made);
    ::LocalFree(made);
    return true;
}

}  // namespace hvx::os
