// The module that the loader tests find on disk as "platformprobe.dll".
#include "platform/base_types.h"

extern "C" HVX_DLL_EXPORT int PlatformProbeValue() {
    return 42;
}
