// The user's default locale identifier (LCID), as GetUserDefaultLCID gives it on Windows.
//
// On POSIX it comes from the locale environment, the way a program's messages choose their
// language: LC_ALL, else LC_MESSAGES, else LANG, the first one set and not empty. Its language
// and territory ("de_AT" of "de_AT.UTF-8@euro") are looked up in a table of the common Windows
// locale identifiers; a territory the table does not list takes the language's main locale
// ("de_LI" -> 1031, de-DE), and a language it does not list, "C", "POSIX" or no setting at all
// give 0 (unknown). The table is platform/common/locale_table.cpp.
#pragma once

#include <cstdint>

namespace hvx::os {

std::uint32_t GetUserDefaultLCID();

}  // namespace hvx::os
