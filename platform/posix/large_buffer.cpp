// PrefaultBuffer with madvise: MADV_HUGEPAGE first, so that where the system hands out huge pages
// only on request the range is filled with 2 MiB pages (a 256 MiB body then takes 128 faults and
// TLB entries rather than 65,536), then MADV_POPULATE_WRITE (Linux 5.14 and later) to take them
// all in one call. A kernel that refuses either advice leaves the pages to come by faults as
// before.
#include "platform/large_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace hvx::os {

namespace {

constexpr std::size_t kLargeBuffer = std::size_t{2} << 20U;

}  // namespace

void PrefaultBuffer(void* buffer, std::size_t size) {
    if (buffer == nullptr || size < kLargeBuffer) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + size) / page * page;
    if (end <= first) {
        return;
    }
    // The range is computed from the buffer's address to round it to whole pages.
    void* range = reinterpret_cast<void*>(first);  // NOLINT(performance-no-int-to-ptr)
#if defined(MADV_HUGEPAGE)
    static_cast<void>(::madvise(range, end - first, MADV_HUGEPAGE));
#endif
#if defined(MADV_POPULATE_WRITE)
    static_cast<void>(::madvise(range, end - first, MADV_POPULATE_WRITE));
#endif
}

}  // namespace hvx::os
