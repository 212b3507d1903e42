#include "siblings/mirel/thread_easy.h"

namespace hvx::mirel {
namespace {

// Cleaned up when the thread ends: thread-local objects go before the process's static ones, so
// the share this handle belongs to still exists then.
EasyPtr& Kept() noexcept {
    thread_local EasyPtr kept;
    return kept;
}

}  // namespace

EasyPtr TakeThreadEasy() {
    if (EasyPtr easy = std::move(Kept())) {
        return easy;
    }
    return EasyPtr(curl_easy_init());
}

void KeepThreadEasy(EasyPtr easy) noexcept {
    if (!easy) {
        return;
    }
    EasyPtr& kept = Kept();
    if (kept) {
        return;
    }
    curl_easy_reset(easy.get());
    kept = std::move(easy);
}

}  // namespace hvx::mirel
