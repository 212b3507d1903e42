// What the management commands share: the library's management client, initialised, with Ctrl-C
// watched while it lives.
#pragma once

#include <string>

#include "tools/cli/caspo_library.h"
#include "tools/cli/commands.h"
#include "tools/cli/interrupt.h"

namespace hvx::cli {

// The library, a Ctrl-C watch and a management client from the library's exports, initialised
// from the store (the agent and affiliate GUIDs may be missing). False, with the problem printed,
// when the library cannot be loaded.
class ManagementRun {
public:
    ManagementRun(const std::string& command, const Console& console);

    explicit operator bool() const { return static_cast<bool>(m_ostra); }
    IOstraHttp* operator->() const { return m_ostra.get(); }

private:
    CaspoLibrary m_library;
    InterruptWatch m_interrupt;
    OstraPtr m_ostra;  // released before the library that made it
};

}  // namespace hvx::cli
