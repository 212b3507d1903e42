// The file's access list, read with GetNamedSecurityInfoW.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/file_access.h"

namespace hvx::test {

namespace {

struct LocalFreer {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

// The descriptor's owner and access list in the security descriptor language.
std::string Sddl(PSECURITY_DESCRIPTOR descriptor) {
    LPSTR text = nullptr;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            &text, nullptr) == FALSE) {
        return "(not readable)";
    }
    const std::unique_ptr<void, LocalFreer> owned(text);
    return text;
}

// The TOKEN_USER of the process.
std::vector<std::uint8_t> TokenUser() {
    HANDLE token = nullptr;
    std::vector<std::uint8_t> user;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
        return user;
    }
    DWORD size = 0;
    ::GetTokenInformation(token, ::TokenUser, nullptr, 0, &size);
    user.resize(size);
    if (size == 0 || ::GetTokenInformation(token, ::TokenUser, user.data(), size, &size) == FALSE) {
        user.clear();
    }
    ::CloseHandle(token);
    return user;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
    return ::IsWellKnownSid(sid, type) != FALSE;
}

bool IsOwnerOnly(PSID owner, PACL acl) {
    const std::vector<std::uint8_t> token = TokenUser();
    if (acl == nullptr || token.empty()) {
        return false;
    }
    const PSID user = reinterpret_cast<const TOKEN_USER*>(token.data())->User.Sid;
    bool ownerGranted = false;
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        void* entry = nullptr;
        if (::GetAce(acl, index, &entry) == FALSE ||
            static_cast<ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            return false;
        }
        const PSID grantee = &static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart;
        if (::EqualSid(grantee, user) != FALSE || ::EqualSid(grantee, owner) != FALSE ||
            IsWellKnown(grantee, WinCreatorOwnerRightsSid)) {
            ownerGranted = true;
        } else if (!IsWellKnown(grantee, WinLocalSystemSid)) {
            return false;
        }
    }
    return ownerGranted;
}

}  // namespace

::testing::AssertionResult OnlyItsOwnerMayOpen(const std::filesystem::path& file) {
    PSID owner = nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = ::GetNamedSecurityInfoW(
        file.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &owner, nullptr, &acl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return ::testing::AssertionFailure()
               << file << ": GetNamedSecurityInfoW failed with " << error;
    }
    const std::unique_ptr<void, LocalFreer> owned(descriptor);
    if (IsOwnerOnly(owner, acl)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << file << " allows " << Sddl(descriptor);
}

}  // namespace hvx::test
