// The file's access list, read with GetNamedSecurityInfoW.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <string>

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

bool IsOwnerOnly(PSECURITY_DESCRIPTOR descriptor, PSID owner, PACL acl) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (acl == nullptr ||
        ::GetSecurityDescriptorControl(descriptor, &control, &revision) == FALSE ||
        (control & SE_DACL_PROTECTED) == 0 || acl->AceCount != 1) {
        return false;
    }
    void* entry = nullptr;
    if (::GetAce(acl, 0, &entry) == FALSE) {
        return false;
    }
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) {
        return false;
    }
    PSID grantee = &allowed->SidStart;
    SID_IDENTIFIER_AUTHORITY creator = SECURITY_CREATOR_SID_AUTHORITY;
    PSID ownerRights = nullptr;
    if (::AllocateAndInitializeSid(&creator, 1, SECURITY_CREATOR_OWNER_RIGHTS_RID, 0, 0, 0, 0, 0, 0,
                                   0, &ownerRights) == FALSE) {
        return false;
    }
    const bool granteeIsOwner =
        ::EqualSid(grantee, ownerRights) != FALSE || ::EqualSid(grantee, owner) != FALSE;
    ::FreeSid(ownerRights);
    return granteeIsOwner;
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
    if (IsOwnerOnly(descriptor, owner, acl)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << file << " allows " << Sddl(descriptor);
}

}  // namespace hvx::test
