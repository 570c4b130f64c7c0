// The colour dialog shown for real over a window on a private X server: Enter confirms the
// start colour, Esc cancels and leaves the record alone; a malformed record is refused.
#include <memory>

#include "tests/platform/win32_fixture.h"

namespace {

constexpr UINT kTap = WM_USER + 1;   // posted before the dialog opens; re-posts itself
SDL_Keycode tapKey = SDLK_RETURN;
int frames = 0;

// Taps the key in the dialog's first frame; should the tap be lost, Esc ends the dialog
// after many frames instead of hanging.
LRESULT TapProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kTap) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (frames == 0 || frames == 600) {
        const SDL_Keycode key = frames == 0 ? tapKey : SDLK_ESCAPE;
        const SDL_Scancode code = key == SDLK_RETURN ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE;
        win32test::InjectKey(code, key, true);
        win32test::InjectKey(code, key, false);
    }
    ++frames;
    PostMessageA(hwnd, kTap, 0, 0);
    return 0;
}

TEST(ShownColorDialog, EnterConfirmsTheStartColourAndEscCancels) {
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = OpenXWindow(xvfb, "ColorTest", TapProc, 320, 320);
    ASSERT_NE(window, nullptr);
    COLORREF custom[16] = {};
    CHOOSECOLORA cc;
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = window;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    auto choose = [&](SDL_Keycode key, COLORREF start) {
        tapKey = key;
        frames = 0;
        cc.rgbResult = start;
        PostMessageA(window, kTap, 0, 0);
        const BOOL chosen = ChooseColorA(&cc);
        MSG msg;
        while (PeekMessageA(&msg, window, kTap, kTap, PM_REMOVE)) {
        }
        return chosen;
    };
    EXPECT_TRUE(choose(SDLK_RETURN, RGB(200, 100, 50))) << "the Enter tap was lost (" << frames << " frames)";
    EXPECT_EQ(cc.rgbResult, RGB(200, 100, 50));
    EXPECT_FALSE(choose(SDLK_ESCAPE, RGB(1, 2, 3)));
    EXPECT_EQ(cc.rgbResult, RGB(1, 2, 3));

    // No custom colours, or a record of another size: refused without a dialog.
    cc.lpCustColors = nullptr;
    EXPECT_FALSE(ChooseColorA(&cc));
    cc.lpCustColors = custom;
    cc.lStructSize = 36;
    EXPECT_FALSE(ChooseColorA(&cc));
}

}  // namespace
