#include "siblings/mirel/process_share.h"

#include <array>
#include <cstddef>
#include <mutex>

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {
namespace {

// The share, and a mutex for each kind of data libcurl locks. libcurl holds a lock only while it
// reads or writes that cache, so a transfer never waits on another thread's transfer.
class LockedShare {
public:
    LockedShare() {
        SharePtr share(curl_share_init());
        if (share && Configure(share.get())) {
            m_share = std::move(share);
        }
    }
    ~LockedShare() = default;
    LockedShare(const LockedShare&) = delete;
    LockedShare& operator=(const LockedShare&) = delete;
    LockedShare(LockedShare&&) = delete;
    LockedShare& operator=(LockedShare&&) = delete;

    CURLSH* Get() const { return m_share.get(); }

private:
    bool Configure(CURLSH* share) {
        return curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &LockedShare::Lock) == CURLSHE_OK &&
               curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &LockedShare::Unlock) == CURLSHE_OK &&
               curl_share_setopt(share, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
               curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK &&
               curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
    }

    std::mutex& MutexFor(curl_lock_data data) {
        const auto index = static_cast<std::size_t>(data);
        return m_locks.at(index < m_locks.size() ? index : 0);
    }

    static void Lock(CURL* /*handle*/, curl_lock_data data, curl_lock_access /*access*/,
                     void* user) {
        static_cast<LockedShare*>(user)->MutexFor(data).lock();
    }

    static void Unlock(CURL* /*handle*/, curl_lock_data data, void* user) {
        static_cast<LockedShare*>(user)->MutexFor(data).unlock();
    }

    std::array<std::mutex, CURL_LOCK_DATA_LAST> m_locks;
    // Declared after the locks: the share is cleaned up while they still exist.
    SharePtr m_share;
};

}  // namespace

CURLcode EnsureCurlGlobal() {
    static std::once_flag once;
    static CURLcode result = CURLE_FAILED_INIT;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result;
}

CURLSH* ProcessShare() {
    static LockedShare share;
    return share.Get();
}

}  // namespace hvx::mirel
