// The critical section's recursion and exclusion, and the per-thread last error.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/critical_section.h"
#include "platform/last_error.h"

namespace hvx::os {
namespace {

bool TryFromAnotherThread(CriticalSection& section) {
    bool entered = false;
    std::thread other([&] {
        entered = section.TryEnter();
        if (entered) {
            section.Leave();
        }
    });
    other.join();
    return entered;
}

TEST(PlatformCriticalSection, OwnerMayEnterAgainAndMustLeaveAsOften) {
    CriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    EXPECT_TRUE(TryFromAnotherThread(section));
}

TEST(PlatformCriticalSection, LockHoldsForItsScope) {
    CriticalSection section;
    {
        const CriticalSectionLock lock(section);
        EXPECT_FALSE(TryFromAnotherThread(section));
    }
    EXPECT_TRUE(TryFromAnotherThread(section));
}

TEST(PlatformCriticalSection, OneThreadInsideAtATime) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    CriticalSection section;
    std::atomic<bool> inside{false};
    std::atomic<int> overlaps{0};
    long counter = 0;
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                const CriticalSectionLock lock(section);
                if (inside.exchange(true)) {
                    ++overlaps;
                }
                ++counter;
                inside = false;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(counter, long{kThreads} * kRounds);
}

TEST(PlatformLastError, BelongsToTheCallingThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOther = ERROR_MORE_DATA;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_DISK_FULL);
    });
    other.join();
    EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace hvx::os
