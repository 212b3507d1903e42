// GetUserDefaultLCID on the system's own (platform/locale.h).
#include "platform/locale.h"

#include "platform/base_types.h"

namespace hvx::os {

std::uint32_t GetUserDefaultLCID() {
    return ::GetUserDefaultLCID();
}

}  // namespace hvx::os
