// The system's text of a Win32 error number, as FormatMessageW gives it: the platform layer's
// own English wording on POSIX (checked word for word in system_messages_posix_test.cpp), the
// system's on Windows. The tests of the code that inserts such texts compare with it.
#pragma once

#include <string>

#include "platform/format_message.h"

namespace hvx::test {

inline std::u16string SystemText(DWORD error) {
    char16_t* raw = nullptr;
    const DWORD length = os::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, &raw);
    const os::LocalText owner(raw);
    return length == 0 ? std::u16string() : std::u16string(raw, length);
}

}  // namespace hvx::test
