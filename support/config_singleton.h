// The process-wide configuration store, loaded from the sibling library tolva on first use and
// never released.
#pragma once

#include "interfaces/IConfig.h"

namespace hvx {

class CConfigSingleton {
public:
    // The store, or null when tolva or its store cannot be loaded (logged). A failed attempt
    // leaves nothing behind, so the next call tries again.
    static IConfig* GetInstance();
};

}  // namespace hvx
