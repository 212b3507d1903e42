// Ctrl-C during a transfer. While an InterruptWatch lives, SIGINT only raises a flag, which the
// shutdown callable handed to the library reports; the library then stops the transfer and
// cleans up (a download's partial file is deleted). The handler resets itself, so a second
// Ctrl-C ends the program at once.
#pragma once

#include "interfaces/hvx_types.h"

namespace hvx::cli {

class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;
    InterruptWatch(InterruptWatch&&) = delete;
    InterruptWatch& operator=(InterruptWatch&&) = delete;

    // True once SIGINT has arrived.
    static bool Raised();
    // The shutdown callable: true once SIGINT has arrived.
    static ShutdownCallback Callback();
};

}  // namespace hvx::cli
