#include "siblings/venit/os_facts.h"

namespace Util {

BOOL GetOsVersionInfo(OSVERSIONINFOEXW* info) {
    return info != nullptr ? hvx::os::GetOsVersionInfo(*info) : FALSE;
}

BOOL GetSystemUpTime(std::uint64_t* milliseconds) {
    return milliseconds != nullptr && hvx::os::GetSystemUpTime(*milliseconds) ? TRUE : FALSE;
}

}  // namespace Util
