// Fresh GUIDs from the system's random source (UuidCreate on Windows, getrandom on POSIX: a
// random version-4 UUID), and their text form.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/base_types.h"

namespace hvx::os {

// The sixteen bytes in the order of their text form.
using Guid = std::array<std::uint8_t, 16>;

// RPC_S_OK (0) and a fresh GUID; another status when the random source failed.
long UuidCreate(Guid& guid);

// Lower-case text without braces, "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx". RPC_S_OK (0), or the
// system's status when it cannot allocate the text (Windows).
long UuidToString(const Guid& guid, std::u16string& text);

}  // namespace hvx::os
