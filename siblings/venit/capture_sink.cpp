#include <mutex>

#include "siblings/venit/log_writer.h"
#include "siblings/venit/venit.h"

namespace venit {

struct CaptureSink::State {
    mutable std::mutex mutex;
    std::vector<Record> records;
};

CaptureSink::CaptureSink() : m_state(new State) {
    detail::LogWriter::Instance().Attach(this);
}

CaptureSink::~CaptureSink() {
    detail::LogWriter::Instance().Detach(this);
    delete m_state;
}

std::vector<Record> CaptureSink::Records() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->records;
}

void CaptureSink::Clear() {
    const std::lock_guard lock(m_state->mutex);
    m_state->records.clear();
}

void CaptureSink::Add(const Record& record) {
    const std::lock_guard lock(m_state->mutex);
    m_state->records.push_back(record);
}

}  // namespace venit
