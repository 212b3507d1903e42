// SetFilePointerEx and GetFileSizeEx on the system's own (platform/file_position.h).
#include "platform/file_position.h"

namespace hvx::os {

BOOL SetFilePointerEx(HANDLE file, std::int64_t distance, std::int64_t* position, DWORD method) {
    LARGE_INTEGER move{};
    move.QuadPart = distance;
    LARGE_INTEGER moved{};
    if (::SetFilePointerEx(file, move, &moved, method) == FALSE) {
        return FALSE;
    }
    if (position != nullptr) {
        *position = moved.QuadPart;
    }
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, std::int64_t* size) {
    LARGE_INTEGER value{};
    if (size == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (::GetFileSizeEx(file, &value) == FALSE) {
        return FALSE;
    }
    *size = value.QuadPart;
    return TRUE;
}

}  // namespace hvx::os
