// Whether a Win32-style call fails (answers FALSE, 0 or null) and leaves the expected last error.
// The last error is cleared first, so that a value left over from an earlier call cannot pass.
#pragma once

#include <gtest/gtest.h>

#include "platform/last_error.h"

namespace hvx::os {

template <typename Call>
::testing::AssertionResult FailsWith(DWORD expected, Call call) {
    SetLastError(ERROR_SUCCESS);
    if (call()) {
        return ::testing::AssertionFailure() << "the call succeeded";
    }
    const DWORD error = GetLastError();
    if (error != expected) {
        return ::testing::AssertionFailure() << "last error " << error << ", not " << expected;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace hvx::os
