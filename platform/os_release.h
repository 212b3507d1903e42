// The running operating system's release as text, for logs: uname's release on POSIX
// ("6.1.0-18-amd64"); "major.minor.build" of the kernel's own version on Windows ("10.0.19045",
// from RtlGetVersion, which unlike GetVersionExW does not depend on the program's manifest).
// Empty when it cannot be read.
#pragma once

#include <string>

namespace hvx::os {

std::string GetOsRelease();

}  // namespace hvx::os
