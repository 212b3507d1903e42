#include "platform/standard_error.h"

#include <algorithm>

#include "platform/base_types.h"

namespace hvx::os {

void WriteStandardError(std::string_view bytes) {
    HANDLE stream = ::GetStdHandle(STD_ERROR_HANDLE);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) {
        return;
    }
    constexpr std::size_t kMostAtOnce = 1U << 30U;
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min(bytes.size(), kMostAtOnce));
        if (::WriteFile(stream, bytes.data(), size, &written, nullptr) == FALSE || written == 0) {
            return;
        }
        bytes.remove_prefix(written);
    }
}

}  // namespace hvx::os
