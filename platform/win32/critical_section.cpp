#include "platform/critical_section.h"

#include <new>

#include "platform/base_types.h"

namespace hvx::os {

namespace {

CRITICAL_SECTION* SectionIn(unsigned char* storage) {
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}

}  // namespace

CriticalSection::CriticalSection() noexcept {
    static_assert(sizeof(CRITICAL_SECTION) <= kStorageSize, "the section must fit the storage");
    static_assert(alignof(CRITICAL_SECTION) <= 16, "the storage is aligned on 16 bytes");
    ::InitializeCriticalSection(new (static_cast<void*>(m_storage)) CRITICAL_SECTION{});
}

CriticalSection::~CriticalSection() {
    ::DeleteCriticalSection(SectionIn(m_storage));
}

void CriticalSection::Enter() {
    ::EnterCriticalSection(SectionIn(m_storage));
}

void CriticalSection::Leave() {
    ::LeaveCriticalSection(SectionIn(m_storage));
}

bool CriticalSection::TryEnter() {
    return ::TryEnterCriticalSection(SectionIn(m_storage)) != FALSE;
}

}  // namespace hvx::os
