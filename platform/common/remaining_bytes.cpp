// RemainingBytes on SetFilePointerEx and GetFileSizeEx (platform/file_position.h).
#include <cstdint>

#include "platform/file_position.h"

namespace hvx::os {

std::uint64_t RemainingBytes(HANDLE file) {
    std::int64_t position = 0;
    std::int64_t size = 0;
    if (SetFilePointerEx(file, 0, &position, FILE_CURRENT) == FALSE ||
        GetFileSizeEx(file, &size) == FALSE || size <= position) {
        return 0;
    }
    return static_cast<std::uint64_t>(size - position);
}

}  // namespace hvx::os
