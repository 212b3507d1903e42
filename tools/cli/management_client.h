// What the management commands share: the library's management client, initialised, and the
// lines they print.
#pragma once

#include <json/json.h>

#include <string>

#include "tools/cli/caspo_library.h"
#include "tools/cli/commands.h"

namespace hvx::cli {

// A management client from the library's exports, initialised from the store (the agent and
// affiliate GUIDs may be missing); null, with the problem printed, when the library cannot be
// loaded. `library` must outlive the client.
OstraPtr StartOstra(const CaspoLibrary& library, const std::string& command,
                    const Console& console);

// Prints "<command>: <what>" and "result: 0x... <message>" (or, with --json, one object holding
// "command", "result", "message" and the fields of `details`), and gives the exit status.
int ReportManagement(const std::string& command, HRESULT result, const std::string& what,
                     const Json::Value& details, const Console& console);

}  // namespace hvx::cli
