// Message boxes shown for real (the program's tests read the recorded ones).
#include <stdlib.h>

#include <memory>

#include "tests/platform/win32_fixture.h"

// A real box over a real window on a private X server: what reaches the program while it
// is open, and what answers it.
class ShownBox : public ::testing::Test {
protected:
    static constexpr UINT kInsideBox = WM_USER + 1;   // posted before the box opens
    static constexpr UINT kFrame = WM_USER + 2;       // re-posts itself: one a frame of the box

    void SetUp() override {
        window = OpenXWindow(xvfb, "BoxTest", Proc, 320, 240);
        ASSERT_NE(window, nullptr);
    }

    // Taps Enter when the posted message arrives (press and release in one go, so that
    // both reach the box between two of its frames), and counts the frames after it.
    // Should the tap be lost, Esc ends the box after many frames instead of hanging.
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kInsideBox) {
            insideBox = boxOpen;
            win32test::InjectKey(SDL_SCANCODE_RETURN, SDLK_RETURN, true);
            win32test::InjectKey(SDL_SCANCODE_RETURN, SDLK_RETURN, false);
            PostMessageA(hwnd, kFrame, 0, 0);
            return 0;
        }
        if (message == kFrame && boxOpen) {
            if (++framesAfterTap == 600) win32test::InjectKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);
            PostMessageA(hwnd, kFrame, 0, 0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    static inline bool boxOpen = false;
    static inline bool insideBox = false;
    static inline int framesAfterTap = 0;
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
};

TEST_F(ShownBox, PostedMessageRunsWhileOpenAndOneFrameTapOfEnterAnswersIt) {
    PostMessageA(window, kInsideBox, 0, 0);
    boxOpen = true;
    const int answer = MessageBoxA(window, "Proceed?", "Box", MB_OKCANCEL);
    boxOpen = false;
    EXPECT_TRUE(insideBox) << "the message posted before the box did not reach the window while it was open";
    EXPECT_EQ(answer, IDOK) << "the Enter tap was lost (" << framesAfterTap << " frames later Esc cancelled)";
}
