// Texts read from the configuration store, copied and handed back to the store at once.
#pragma once

#include <optional>
#include <string>

#include "interfaces/IConfig.h"

namespace hvx::sabko {

// The wide text under the key; nullopt when there is none.
std::optional<std::u16string> ReadWide(IConfig& config, const char* key);
// The narrow text under the key; nullopt when there is none.
std::optional<std::string> ReadNarrow(IConfig& config, const char* key);

}  // namespace hvx::sabko
