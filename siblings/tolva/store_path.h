// Where the store file lives; the rules are in tolva.h.
#pragma once

#include <string>

namespace tolva {

// The name of the environment variable that names the store file.
inline constexpr const char* kStorePathVariable = "TOLVA_STORE";

// Used by objects created afterwards; null or "" goes back to the other rules.
void SetStorePathOverride(const char* path);

// The store file (UTF-8) by the rules: the override, TOLVA_STORE, then the default under the
// user's data folder. "" when none of them gives one.
std::string ResolveStorePath();

}  // namespace tolva
