// PrefaultBuffer with madvise(MADV_POPULATE_WRITE) (Linux 5.14 and later; older kernels refuse
// the advice and the pages come by faults as before).
#include "platform/large_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace hvx::os {

namespace {

constexpr std::size_t kLargeBuffer = std::size_t{2} << 20U;

}  // namespace

void PrefaultBuffer(void* buffer, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
    if (buffer == nullptr || size < kLargeBuffer) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + size) / page * page;
    if (end > first) {
        // The range is computed from the buffer's address to round it to whole pages.
        static_cast<void>(
            ::madvise(reinterpret_cast<void*>(first),  // NOLINT(performance-no-int-to-ptr)
                      end - first, MADV_POPULATE_WRITE));
    }
#else
    static_cast<void>(buffer);
    static_cast<void>(size);
#endif
}

}  // namespace hvx::os
