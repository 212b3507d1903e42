// The backend's "stopping" state, which every route that waits or streams consults, so that a
// stop never waits for a dribbled body or a long download to finish.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace hvx::backend {

class StopSignal {
public:
    void Raise();
    bool Raised() const;
    // Waits `delay`; false when the backend began to stop before it was over.
    [[nodiscard]] bool WaitFor(std::chrono::milliseconds delay) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_raised;
    bool m_isRaised = false;
};

}  // namespace hvx::backend
