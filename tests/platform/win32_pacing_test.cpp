// Presents paced to the display where vertical sync is refused (Xvfb with llvmpipe): the wait
// for the next present happens in the message pump, before the next frame is drawn, and a
// present that comes too early still waits itself. Judged against the due time the window
// layer sets, never against a guessed duration.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <cstdint>
#include <memory>

#include "platform/win32/win32.h"
#include "platform/win32/win32_gl.h"
#include "platform/win32/win32_test.h"
#include "tests/platform/win32_fixture.h"

namespace {

std::uint64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

class Pacing : public ::testing::Test {
protected:
    // `noPacing` sets PLATFORM_NO_PACING before the window layer reads it (once a process).
    void Open(bool noPacing) {
        if (noPacing) setenv("PLATFORM_NO_PACING", "1", 1);
        win32test::EnableRecordedInteraction();
        window = OpenXWindow(xvfb, "PacingTest", DefWindowProcA, 64, 64);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(win32gl::MakeCurrent(window)) << "the window has no OpenGL context";
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);   // the first paint
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
    }
    void Present() { win32gl::PresentClientImage(window, 0, 64, 64); }

    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
};

TEST_F(Pacing, ThePumpWaitsForTheNextPresentOnceNothingWaitsAndAnEarlyPresentWaitsItself) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    Present();
    const std::uint64_t due = win32test::NextPresentDueNs();
    if (due == 0) GTEST_SKIP() << "the driver gives vertical sync here; it paces the presents";

    // A waiting message comes first, whatever the pacing.
    PostMessageA(window, WM_USER, 7, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_EQ(msg.wParam, 7u);
    // With the queue empty the pump returns only when the next frame may be shown, so that
    // frame is drawn from what holds right before it goes on screen.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_GE(NowNs(), due);

    // Presents without a pump between them (as a modal box's loop draws) are still paced.
    Present();
    const std::uint64_t next = win32test::NextPresentDueNs();
    EXPECT_GT(next, due);
    Present();
    EXPECT_GE(NowNs(), next);
}

TEST_F(Pacing, SwitchedOffNothingWaits) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    Present();
    Present();
    EXPECT_EQ(win32test::NextPresentDueNs(), 0u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
