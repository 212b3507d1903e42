// The exports of sabko (libsabko.so, sabko.dll). Callers load the library by name and look the
// entry points up (interfaces/IProxyReader.h names them); tests may link it directly.
#pragma once

#include "interfaces/IProxyReader.h"
#include "platform/base_types.h"

#if defined(SABKO_BUILDING)
#define SABKO_API HVX_DLL_EXPORT
#else
#define SABKO_API HVX_DLL_IMPORT
#endif

extern "C" {
// A new reader, or null when out of memory. Released with ReleaseProxyClassInstance.
SABKO_API hvx::IProxyReader* CreateProxyClassInstance();
// Releases a reader from CreateProxyClassInstance; null is ignored.
SABKO_API void ReleaseProxyClassInstance(hvx::IProxyReader* reader);
}
