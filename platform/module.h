// Loading modules by name, with the semantics of LoadLibraryW / GetProcAddress / FreeLibrary.
//
// A name is given as the agent's module name ("mirel.dll"). On POSIX it maps to "libmirel.so",
// looked for first beside the module that holds this code (libcaspo.so, or the program that
// links it statically), then on the default search path. Modules registered in-process with
// RegisterBuiltinModule are found before anything on disk.
//
// Names compare without regard to ASCII letter case, as on Windows; on POSIX the file name is
// lower-cased ("Mirel.DLL" -> "libmirel.so").
//
// Failures set the thread's last error (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND, and
// ERROR_INVALID_HANDLE for a handle that LoadLibraryW did not hand out).
#pragma once

#include <string>
#include <vector>

#include "platform/base_types.h"

namespace hvx::os {

// Loads the module; null on failure. Each successful load is matched by one FreeLibrary.
HMODULE LoadLibraryW(const char16_t* name);

// Address of an exported symbol, or null.
void* GetProcAddress(HMODULE module, const char* symbol);

// Drops one reference taken by LoadLibraryW. FALSE for a null or unknown handle. A built-in
// module is never unloaded: freeing it always succeeds.
BOOL FreeLibrary(HMODULE module);

// The folder of the module that holds this code, with a trailing separator.
std::u16string GetModuleDirectory();

// The file name a module name maps to on this platform ("mirel.dll" -> "libmirel.so").
std::u16string ModuleFileName(const char16_t* name);

// An in-process module: a name and its table of exported symbols. Registered modules take
// precedence over files, which lets a program link a sibling statically and lets tests
// substitute a scripted module. Registering a name again replaces its table.
struct BuiltinSymbol {
    const char* name;
    void* address;
};
void RegisterBuiltinModule(const char16_t* name, std::vector<BuiltinSymbol> symbols);
// Makes loading the name fail with ERROR_MOD_NOT_FOUND, whatever is on disk, until the name is
// registered or unregistered again. Lets a program (a test) see how its callers handle a
// sibling library that is not installed.
void RegisterMissingModule(const char16_t* name);
void UnregisterBuiltinModule(const char16_t* name);

}  // namespace hvx::os
