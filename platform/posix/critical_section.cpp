#include "platform/critical_section.h"

#include <mutex>
#include <new>

namespace hvx::os {

namespace {

using Mutex = std::recursive_mutex;

Mutex& MutexIn(unsigned char* storage) {
    return *std::launder(reinterpret_cast<Mutex*>(storage));
}

}  // namespace

CriticalSection::CriticalSection() noexcept {
    static_assert(sizeof(Mutex) <= kStorageSize, "the mutex must fit the storage");
    static_assert(alignof(Mutex) <= 16, "the storage is aligned on 16 bytes");
    new (static_cast<void*>(m_storage)) Mutex();
}

CriticalSection::~CriticalSection() {
    MutexIn(m_storage).~Mutex();
}

void CriticalSection::Enter() {
    MutexIn(m_storage).lock();
}

void CriticalSection::Leave() {
    MutexIn(m_storage).unlock();
}

bool CriticalSection::TryEnter() {
    return MutexIn(m_storage).try_lock();
}

}  // namespace hvx::os
