#include "platform/os_release.h"

#include <sys/utsname.h>

#include <cstring>

namespace hvx::os {

std::string GetOsRelease() {
    utsname names{};
    if (::uname(&names) != 0) {
        return {};
    }
    return {names.release, ::strnlen(names.release, sizeof names.release)};
}

}  // namespace hvx::os
