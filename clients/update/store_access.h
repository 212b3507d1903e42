// The update client's access to the configuration store: it loads the store again before each
// series of reads or writes and gives up quietly when that fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "interfaces/IConfig.h"

namespace hvx::update {

// The process-wide store after a fresh Load(0); null when there is none or the load fails.
IConfig* LoadedStore();
// The wide text under the key, at most `limit` characters of it; nothing when absent.
std::optional<std::u16string> ReadText(IConfig& config, const char* key,
                                       std::size_t limit = std::u16string::npos);
// The product version; nothing when the store has none.
std::optional<std::u16string> ProductVersion(IConfig& config);
// Set when the key exists, else add; the write's own result is not needed by the callers.
void WriteText(IConfig& config, const char* key, const std::u16string& value);
void WriteNumber(IConfig& config, const char* key, std::uint32_t value);

}  // namespace hvx::update
