// Threads and events: suspended start, resuming, waits with time-outs, auto-reset events.
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/win32.h"
#include "tests/support/wait.h"

namespace {

struct Waiter {
    HANDLE event;
    std::atomic<int> woken{0};
};

DWORD WaitOnce(LPVOID parameter) {
    auto* waiter = static_cast<Waiter*>(parameter);
    if (WaitForSingleObject(waiter->event, INFINITE) == WAIT_OBJECT_0) waiter->woken.fetch_add(1);
    return 0;
}

std::vector<HANDLE> StartWaiters(Waiter& waiter, int count) {
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) threads.push_back(CreateThread(nullptr, 0, WaitOnce, &waiter, 0, nullptr));
    return threads;
}

void Join(const std::vector<HANDLE>& threads) {
    for (HANDLE t : threads) {
        EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
        CloseHandle(t);
    }
}

TEST(Win32Threads, ASuspendedThreadRunsOnceResumedAndItsEndReleasesWaiters) {
    Waiter waiter{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitOnce, &waiter, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);

    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(waiter.woken.load(), 1);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "an ended thread stays signalled";
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(waiter.event);
}

TEST(Win32Events, AnAutoResetEventReleasesOneWaitPerSignal) {
    Waiter waiter{CreateEventA(nullptr, FALSE, TRUE, nullptr)};
    SetEvent(waiter.event);   // signals do not add up
    EXPECT_EQ(WaitForSingleObject(waiter.event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(waiter.event, 0), WAIT_TIMEOUT);
    // Two waiting threads need two signals: the second wakes only once the first is taken.
    std::vector<HANDLE> threads = StartWaiters(waiter, 2);
    SetEvent(waiter.event);
    EXPECT_TRUE(vlx_test::WaitUntil([&] { return waiter.woken.load() == 1; }, std::chrono::seconds(10)));
    SetEvent(waiter.event);
    Join(threads);
    EXPECT_EQ(waiter.woken.load(), 2);
    CloseHandle(waiter.event);
}

}  // namespace
