// CheckFileTarget opens the name itself (FILE_FLAG_OPEN_REPARSE_POINT) with no access to the
// content, so no link is followed and no device is read; GetFileType tells a disk file from a pipe
// or device. CreateFileBeside creates with CREATE_NEW, sharing nothing, under an access list that
// grants the file's owner alone.
#include <objbase.h>
#include <sddl.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/beside_name.h"
#include "platform/file_target.h"

namespace hvx::os {

namespace {

// Full access for one SID, inherited by nothing, protected from the folder's entries. (Not the
// OWNER RIGHTS SID, "OW": Wine maps an access list to the file's mode and drops that entry,
// leaving a file nobody may open or delete.)
constexpr const wchar_t* kUserOnlyPrefix = L"D:P(A;;FA;;;";
constexpr const wchar_t* kUserOnlySuffix = L")";
constexpr int kNameAttempts = 16;

LPCWSTR Wide(const char16_t* text) {
    return reinterpret_cast<LPCWSTR>(text);
}

DWORD Result(DWORD error) {
    ::SetLastError(error);
    return error;
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct LocalFreer {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

DWORD KindError(HANDLE file) {
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        return ERROR_BAD_FILE_TYPE;
    }
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof(info)) == FALSE) {
        return ::GetLastError();
    }
    // Name surrogates are the links (symbolic links, junctions); other reparse points, such as
    // files kept in the cloud, are files.
    if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        IsReparseTagNameSurrogate(info.ReparseTag)) {
        return ERROR_CANT_ACCESS_FILE;
    }
    return (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? static_cast<DWORD>(ERROR_DIRECTORY_NOT_SUPPORTED)
               : static_cast<DWORD>(ERROR_SUCCESS);
}

std::uint64_t RandomTag() {
    GUID guid{};
    static_cast<void>(::CoCreateGuid(&guid));
    std::uint64_t tag = 0;
    std::memcpy(&tag, guid.Data4, sizeof(tag));
    return tag ^ (static_cast<std::uint64_t>(guid.Data1) << 32U);
}

// The SID text of the user the thread acts for; empty when the token cannot be read.
std::wstring CurrentUserSid() {
    HANDLE token = nullptr;
    if (::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &token) == FALSE &&
        ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
        return {};
    }
    const UniqueHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    LPWSTR text = nullptr;
    if (size == 0 || ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) == FALSE ||
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text) ==
            FALSE) {
        return {};
    }
    const std::unique_ptr<void, LocalFreer> ownedText(text);
    return text;
}

HANDLE CreateUserOnly(const std::u16string& path) {
    const std::wstring user = CurrentUserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (user.empty() || ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                            (kUserOnlyPrefix + user + kUserOnlySuffix).c_str(), SDDL_REVISION_1,
                            &descriptor, nullptr) == FALSE) {
        return INVALID_HANDLE_VALUE;
    }
    const std::unique_ptr<void, LocalFreer> owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    return ::CreateFileW(Wide(path.c_str()), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

DWORD CheckFileTarget(const char16_t* target) {
    if (target == nullptr || *target == u'\0') {
        return Result(ERROR_INVALID_PARAMETER);
    }
    const HANDLE raw = ::CreateFileW(
        Wide(target), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        return Result(::GetLastError());
    }
    const UniqueHandle file(raw);
    return Result(KindError(file.get()));
}

HANDLE CreateFileBeside(const char16_t* target, std::u16string& besidePath) {
    if (target == nullptr || *target == u'\0') {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::u16string candidate = detail::BesidePath(target, u"\\/", RandomTag());
        const HANDLE file = CreateUserOnly(candidate);
        if (file != INVALID_HANDLE_VALUE) {
            besidePath = std::move(candidate);
            ::SetLastError(ERROR_SUCCESS);
            return file;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return INVALID_HANDLE_VALUE;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace hvx::os
