// tolva: the agent's configuration store, behind hvx::IConfig (interfaces/IConfig.h).
//
// The store is one SQLite file. The hosting process says where it lives, first match wins:
//   TolvaSetStorePath() before the first Load;
//   the environment variable TOLVA_STORE;
//   <user data folder>/caspo/config.db (XDG_DATA_HOME or ~/.local/share on POSIX,
//   %LOCALAPPDATA% on Windows).
#pragma once

#include "interfaces/IConfig.h"
#include "platform/base_types.h"

#if defined(TOLVA_BUILDING)
#define TOLVA_API HVX_DLL_EXPORT
#else
#define TOLVA_API HVX_DLL_IMPORT
#endif

extern "C" {
// A new store object, not yet loaded. Freed through its virtual destructor.
TOLVA_API hvx::IConfig* CreateConfigClassInstance();
// Sets the store file for objects created afterwards; null or "" restores the default.
TOLVA_API void TolvaSetStorePath(const char* path);
}
