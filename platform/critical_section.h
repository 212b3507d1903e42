// A critical section: a recursive lock, as Win32's CRITICAL_SECTION (the owning thread may
// enter again and must leave as often as it entered).
#pragma once

#include <cstddef>

namespace hvx::os {

class CriticalSection {
public:
    CriticalSection() noexcept;
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    CriticalSection(CriticalSection&&) = delete;
    CriticalSection& operator=(CriticalSection&&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();

private:
    static constexpr std::size_t kStorageSize = 64;
    alignas(16) unsigned char m_storage[kStorageSize];
};

// Holds a critical section for the life of the guard.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : m_section(section) {
        m_section.Enter();
    }
    ~CriticalSectionLock() { m_section.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;
    CriticalSectionLock(CriticalSectionLock&&) = delete;
    CriticalSectionLock& operator=(CriticalSectionLock&&) = delete;

private:
    CriticalSection& m_section;
};

}  // namespace hvx::os
