#include "platform/environment.h"

#include <cstdlib>
#include <cstring>

namespace hvx::os {

BOOL SetEnvironmentValue(const char* name, const char* value) {
    if (name == nullptr || *name == '\0' || std::strchr(name, '=') != nullptr) {
        return FALSE;
    }
    // NOLINTNEXTLINE(concurrency-mt-unsafe): callers set variables before starting threads
    const int result = value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    return result == 0 ? TRUE : FALSE;
}

}  // namespace hvx::os
