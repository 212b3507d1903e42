// What the management commands share: the library's management client, initialised.
#pragma once

#include <string>

#include "tools/cli/caspo_library.h"
#include "tools/cli/commands.h"

namespace hvx::cli {

// A management client from the library's exports, initialised from the store (the agent and
// affiliate GUIDs may be missing); null, with the problem printed, when the library cannot be
// loaded. `library` must outlive the client.
OstraPtr StartOstra(const CaspoLibrary& library, const std::string& command,
                    const Console& console);

}  // namespace hvx::cli
