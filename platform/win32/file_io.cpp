// The file calls on the system's own; WriteFile goes on until every byte is written.
#include "platform/file.h"

namespace hvx::os {

namespace {

LPCWSTR Wide(const char16_t* text) {
    return reinterpret_cast<LPCWSTR>(text);
}

// Null and INVALID_HANDLE_VALUE are never files. The system would take INVALID_HANDLE_VALUE for
// the current process's pseudo handle, which CloseHandle "closes" with success.
bool Refused(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return true;
    }
    return false;
}

}  // namespace

HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD disposition,
                   DWORD attributes) {
    return ::CreateFileW(Wide(path), access, share, nullptr, disposition, attributes, nullptr);
}

BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written) {
    if (written != nullptr) {
        *written = 0;
    }
    if (Refused(file)) {
        return FALSE;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    DWORD done = 0;
    while (done < size) {
        DWORD count = 0;
        if (::WriteFile(file, bytes + done, size - done, &count, nullptr) == FALSE) {
            return FALSE;
        }
        if (count == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        done += count;
        if (written != nullptr) {
            *written = done;
        }
    }
    return TRUE;
}

BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read) {
    if (read != nullptr) {
        *read = 0;
    }
    if (Refused(file)) {
        return FALSE;
    }
    DWORD count = 0;
    const BOOL ok = ::ReadFile(file, data, size, &count, nullptr);
    if (read != nullptr) {
        *read = count;
    }
    return ok;
}

BOOL DeleteFileW(const char16_t* path) {
    return ::DeleteFileW(Wide(path));
}

BOOL FlushFileBuffers(HANDLE file) {
    return ::FlushFileBuffers(file);
}

BOOL MoveFileExW(const char16_t* from, const char16_t* to, DWORD flags) {
    // The system's other flags would break the one-step rename (MOVEFILE_COPY_ALLOWED copies
    // across volumes, MOVEFILE_DELAY_UNTIL_REBOOT waits for a restart), and a flag it does not
    // know is not refused by every version (Wine moves the file anyway).
    if ((flags & ~static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING)) != 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ::MoveFileExW(Wide(from), Wide(to), flags);
}

BOOL CloseHandle(HANDLE handle) {
    if (Refused(handle)) {
        return FALSE;
    }
    return ::CloseHandle(handle);
}

BOOL CreatePrivateFile(const char16_t* path) {
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return TRUE;
    }
    return ::GetLastError() == ERROR_FILE_EXISTS ? TRUE : FALSE;
}

}  // namespace hvx::os
