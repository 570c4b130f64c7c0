// The main loop: when frames are drawn, when the per-frame logic runs, and how it ends.
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "tests/app/headless_show.h"

namespace {

// Stands in for RenderFrame: records each frame's idle flag and lets the test act between
// frames, as the window system would.
struct FrameScript {
    std::vector<bool> idle;
    std::function<void(int frame)> between;
};
FrameScript* script = nullptr;

void RecordFrame(bool idle) {
    script->idle.push_back(idle);
    if (script->between) script->between(static_cast<int>(script->idle.size()));
}

std::vector<UINT> dispatched;
std::vector<WPARAM> dispatchedWParams;
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    dispatched.push_back(message);
    dispatchedWParams.push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

class MainLoop : public HeadlessShow {
protected:
    void SetUp() override {
        HeadlessShow::SetUp();
        Settle();
        script = &frames;
    }
    int Run() { return RunMainLoop(accelerators, RecordFrame); }
    FrameScript frames;
};

TEST_F(MainLoop, FramesAfterEveryPassButTheTickOnlyAfterIdlePasses) {
    frames.between = [this](int frame) {
        if (frame == 2) win32test::InjectMouseMotion(50, 100, 0);   // input during frame 2
        if (frame == 3) {                                          // a burst during frame 3
            win32test::InjectMouseMotion(51, 100, 0);
            win32test::InjectMouseMotion(52, 100, 0);
        }
        if (frame == 6) win32test::InjectQuit();
    };
    EXPECT_EQ(Run(), IDM_STOP_CAPTURE);
    // Passes 3 and 4 found messages (the burst is drained in one pass); pass 7 ended the loop.
    EXPECT_EQ(frames.idle, (std::vector<bool>{true, true, false, false, true, true}));
}

TEST_F(MainLoop, TheMessageAfterTheQuitFlagEndsTheLoopUndispatched) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    frames.between = [this](int frame) {
        if (frame == 1) PostMessageA(window, WM_USER, 1, 0);
        if (frame == 2) {
            appState->quitRequested = 1;
            PostMessageA(window, WM_USER + 1, 77, 0);
            PostMessageA(window, WM_USER + 2, 78, 0);
        }
    };
    dispatched.clear();
    EXPECT_EQ(Run(), 77);
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER}));
}

TEST_F(MainLoop, NoFramesWhileMinimised) {
    int waits = 0;
    win32test::SetWaitHook([&waits] {
        // While the loop sleeps, time passes; after three waits the user restores.
        if (++waits == 3) win32test::InjectRestore();
    });
    frames.between = [&waits](int frame) {
        if (frame == 2) win32test::InjectMinimize();
        if (frame == 3) {
            EXPECT_EQ(waits, 3);   // the loop waited instead of drawing
            win32test::InjectQuit();
        }
    };
    EXPECT_EQ(Run(), 412);
    EXPECT_EQ(frames.idle.size(), 3u);
    EXPECT_FALSE(frames.idle[2]);   // the restore's WM_SIZE came in that pass
    EXPECT_EQ(appState->minimized, 0);
}

TEST_F(MainLoop, LampColoursArePrintedWithThePresentThatFirstShowsThem) {
    setenv("PLATFORM_DIAG_VALUES", "1", 1);
    ::testing::internal::CaptureStderr();
    RenderFrame(false);
    RenderFrame(false);   // unchanged: nothing printed
    lampLights[1]->SetColor(0x0000AB00);
    RenderFrame(false);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> lines;
    std::istringstream in(printed);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("virelux: lamps at ", 0) == 0) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << printed;
    EXPECT_NE(lines[1].find(" ns: 00330000 0000AB00 00000033"), std::string::npos) << lines[1];
}

TEST_F(MainLoop, F1ThroughTheAcceleratorsBecomesTheIntroductionCommand) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    dispatched.clear();
    dispatchedWParams.clear();
    frames.between = [&](int frame) {
        if (frame == 1) win32test::InjectKey(SDL_SCANCODE_F1, SDLK_F1, true);
        if (frame == 2) PostQuitMessage(5);
    };
    EXPECT_EQ(Run(), 5);   // a quit message ends the loop with its code
    // The key itself never reaches the window; the command does.
    ASSERT_EQ(dispatched, (std::vector<UINT>{WM_COMMAND}));
    EXPECT_EQ(LOWORD(dispatchedWParams[0]), 40039);
}
