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

// The owner may enter again and must leave as often; a lock holds the section for its scope.
TEST(PlatformCriticalSection, OwnerMayEnterAgainAndMustLeaveAsOften) {
    CriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    EXPECT_TRUE(TryFromAnotherThread(section));
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

// Each thread sets its value while the other's is set, and each reads its own back before the
// other goes on; no call of the thread library comes between (on Windows its calls change the
// last error too, as any system call may).
TEST(PlatformLastError, BelongsToTheCallingThread) {
    std::atomic<int> step{0};
    const auto waitFor = [&step](int value) {
        while (step.load() != value) {
            std::this_thread::yield();
        }
    };
    DWORD freshInOther = ERROR_MORE_DATA;
    DWORD seenByOther = ERROR_MORE_DATA;
    SetLastError(ERROR_ACCESS_DENIED);
    std::thread other([&] {
        freshInOther = GetLastError();
        SetLastError(ERROR_DISK_FULL);
        step = 1;
        waitFor(2);
        seenByOther = GetLastError();
        step = 3;
    });
    waitFor(1);
    SetLastError(ERROR_WRITE_FAULT);
    step = 2;
    waitFor(3);
    const DWORD seenHere = GetLastError();
    other.join();
    EXPECT_EQ(freshInOther, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(seenHere, static_cast<DWORD>(ERROR_WRITE_FAULT));
}

}  // namespace
}  // namespace hvx::os
