#include "tools/backend/stop_signal.h"

namespace hvx::backend {

void StopSignal::Raise() {
    {
        const std::lock_guard lock(m_mutex);
        m_isRaised = true;
    }
    m_raised.notify_all();
}

bool StopSignal::Raised() const {
    const std::lock_guard lock(m_mutex);
    return m_isRaised;
}

bool StopSignal::WaitFor(std::chrono::milliseconds delay) const {
    std::unique_lock lock(m_mutex);
    return !m_raised.wait_for(lock, delay, [this] { return m_isRaised; });
}

}  // namespace hvx::backend
