// The system's text of a Win32 error number, as FormatMessageW gives it: the platform layer's
// own English wording on POSIX (checked word for word in system_messages_posix_test.cpp), the
// system's on Windows. The tests of the code that inserts such texts compare with it; the
// messages tests call FormatMessageW through Format.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/format_message.h"
#include "platform/last_error.h"

namespace hvx::test {

constexpr DWORD kFromModule =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kFromSystem =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kLanguageGerman = 0x0407;

// ERROR_SUCCESS and the text, or the last error (cleared first, so that no value left over
// from an earlier call can pass); the buffer is null on failure.
inline DWORD Format(DWORD flags, HMODULE module, DWORD id, DWORD language, std::u16string& text) {
    char16_t* raw = nullptr;
    os::SetLastError(ERROR_SUCCESS);
    const DWORD length = os::FormatMessageW(flags, module, id, language, &raw);
    const os::LocalText owned(raw);
    if (length == 0) {
        EXPECT_EQ(raw, nullptr);
        return os::GetLastError();
    }
    text = owned.get();
    EXPECT_EQ(length, text.size());
    return ERROR_SUCCESS;
}

inline std::u16string SystemText(DWORD error) {
    std::u16string text;
    static_cast<void>(Format(kFromSystem, nullptr, error, 0, text));
    return text;
}

}  // namespace hvx::test
