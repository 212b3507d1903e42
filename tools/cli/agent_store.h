// The configuration store the library will use, read by caspo itself for what it says before a
// request: whether a TLS check is off, and where the management and client commands' requests
// go (the command line does not name those URLs; the library reads them from the store).
#pragma once

#include <memory>
#include <string>

#include "siblings/tolva/config.h"

namespace hvx::cli {

// The store at the path the library takes (--store has been put into TOLVA_STORE already),
// loaded; null when it cannot be read.
std::unique_ptr<tolva::CConfig> LoadAgentStore();

// The text under `key`; empty when the key or the store is missing.
std::u16string StoredText(const char* key);

}  // namespace hvx::cli
