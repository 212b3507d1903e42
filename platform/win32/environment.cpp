// _putenv_s changes the C runtime's copy (what getenv reads) and the process's own; an empty
// value removes the variable.
#include "platform/environment.h"

#include <cstdlib>
#include <cstring>

namespace hvx::os {

BOOL SetEnvironmentValue(const char* name, const char* value) {
    if (name == nullptr || *name == '\0' || std::strchr(name, '=') != nullptr) {
        return FALSE;
    }
    return ::_putenv_s(name, value != nullptr ? value : "") == 0 ? TRUE : FALSE;
}

}  // namespace hvx::os
