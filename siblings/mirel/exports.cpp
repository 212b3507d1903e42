// The exported entry points of mirel. Nothing is thrown across them.
#include <memory>

#include "siblings/mirel/curl_engine.h"
#include "siblings/mirel/mirel.h"

extern "C" {

MIREL_API hvx::ITransferEngine* CreateNCPClassInstance() {
    try {
        return hvx::mirel::CurlEngine::Create().release();
    } catch (...) {
        return nullptr;
    }
}

MIREL_API void ReleaseNCPClassInstance(hvx::ITransferEngine* engine) {
    // Every instance handed out is a CurlEngine.
    const std::unique_ptr<hvx::mirel::CurlEngine> owned(
        static_cast<hvx::mirel::CurlEngine*>(engine));
}

}  // extern "C"
