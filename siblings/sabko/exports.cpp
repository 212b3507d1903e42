// The exported entry points of sabko. Nothing is thrown across them.
#include <new>

#include "siblings/sabko/proxy_reader.h"
#include "siblings/sabko/sabko.h"

extern "C" {

SABKO_API hvx::IProxyReader* CreateProxyClassInstance() {
    return new (std::nothrow) hvx::sabko::CProxyReader();
}

SABKO_API void ReleaseProxyClassInstance(hvx::IProxyReader* reader) {
    // Every reader handed out is a CProxyReader.
    delete static_cast<hvx::sabko::CProxyReader*>(reader);
}

}  // extern "C"
