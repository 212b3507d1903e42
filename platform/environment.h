// Variables of the process's environment, set so that getenv (and programs started later) see
// them: setenv/unsetenv on POSIX, _putenv_s on Windows.
#pragma once

#include "platform/base_types.h"

namespace hvx::os {

// Sets `name` to `value`, or removes it when `value` is null. FALSE when the name is null, empty
// or holds '=', or when the system refuses. Windows has no empty variables: there an empty value
// removes the variable too.
BOOL SetEnvironmentValue(const char* name, const char* value);

}  // namespace hvx::os
