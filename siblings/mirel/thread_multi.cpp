#include "siblings/mirel/thread_multi.h"

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {
namespace {

// How long one wait for socket activity may last; libcurl shortens it to its own next timeout,
// so time-outs and the stall guard are checked on time.
constexpr int kPollMilliseconds = 1000;
// Idle connections a thread keeps for reuse.
constexpr long kCachedConnectionsPerThread = 8;

CURLM* ThreadMulti() {
    thread_local MultiPtr multi;
    if (!multi) {
        multi.reset(curl_multi_init());
        if (multi) {
            // A refused limit leaves libcurl's own, which still caches connections.
            static_cast<void>(
                curl_multi_setopt(multi.get(), CURLMOPT_MAXCONNECTS, kCachedConnectionsPerThread));
        }
    }
    return multi.get();
}

CURLcode FromMultiCode(CURLMcode code) {
    switch (code) {
        case CURLM_OK:
            return CURLE_OK;
        case CURLM_OUT_OF_MEMORY:
            return CURLE_OUT_OF_MEMORY;
        case CURLM_RECURSIVE_API_CALL:
            return CURLE_RECURSIVE_API_CALL;
        default:
            return CURLE_FAILED_INIT;
    }
}

// Keeps an easy handle in a multi handle for the life of the object.
class Attachment {
public:
    Attachment(CURLM* multi, CURL* easy)
        : m_multi(multi), m_easy(easy), m_code(curl_multi_add_handle(multi, easy)) {}
    ~Attachment() {
        if (m_code == CURLM_OK) {
            curl_multi_remove_handle(m_multi, m_easy);
        }
    }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    Attachment(Attachment&&) = delete;
    Attachment& operator=(Attachment&&) = delete;

    CURLMcode Code() const { return m_code; }

private:
    CURLM* m_multi;
    CURL* m_easy;
    CURLMcode m_code;
};

[[nodiscard]] CURLMcode DriveUntilDone(CURLM* multi) {
    int running = 1;
    while (running > 0) {
        const CURLMcode performed = curl_multi_perform(multi, &running);
        if (performed != CURLM_OK) {
            return performed;
        }
        if (running > 0) {
            const CURLMcode polled = curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
            if (polled != CURLM_OK) {
                return polled;
            }
        }
    }
    return CURLM_OK;
}

[[nodiscard]] CURLcode ResultOf(CURLM* multi, CURL* easy) {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            return message->data.result;
        }
    }
    // libcurl reports every finished transfer; a missing report means the multi handle failed.
    return CURLE_FAILED_INIT;
}

}  // namespace

CURLcode RunOnThreadMulti(CURL* easy) {
    CURLM* multi = ThreadMulti();
    if (multi == nullptr) {
        return CURLE_OUT_OF_MEMORY;
    }
    const Attachment attachment(multi, easy);
    if (attachment.Code() != CURLM_OK) {
        return FromMultiCode(attachment.Code());
    }
    const CURLMcode driven = DriveUntilDone(multi);
    if (driven != CURLM_OK) {
        return FromMultiCode(driven);
    }
    return ResultOf(multi, easy);
}

}  // namespace hvx::mirel
