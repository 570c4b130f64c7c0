// Window-system input translated into window messages.
#include "tests/platform/win32_fixture.h"

using Input = HeadlessWindow;

namespace {

struct KeyCase {
    SDL_Scancode scancode;
    SDL_Keycode key;
    WORD vk;
};

}  // namespace

TEST_F(Input, EveryKeyOfTheShowGivesItsVirtualKeyCode) {
    const KeyCase keys[] = {
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27}, {SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
        {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 33}, {SDL_SCANCODE_HOME, SDLK_HOME, 36},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},     {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, 46}, {SDL_SCANCODE_KP_2, SDLK_KP_2, 98},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, 105},    {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 107},
        {SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, 109}, {SDL_SCANCODE_F1, SDLK_F1, 112},
        {SDL_SCANCODE_F8, SDLK_F8, 119},
        // With Num Lock off the pad's keys report navigation symbols; they still count as the pad.
        {SDL_SCANCODE_KP_8, SDLK_UP, 104},
    };
    for (const KeyCase& k : keys) {
        Settle();
        win32test::InjectKey(k.scancode, k.key, true);
        win32test::InjectKey(k.scancode, k.key, false);
        const auto got = Drain();
        ASSERT_EQ(got.size(), 2u) << SDL_GetScancodeName(k.scancode);
        EXPECT_EQ(got[0].message, WM_KEYDOWN);
        EXPECT_EQ(got[0].wParam, k.vk) << SDL_GetScancodeName(k.scancode);
        EXPECT_EQ(got[1].message, WM_KEYUP);
        EXPECT_EQ(got[1].wParam, k.vk);
        EXPECT_EQ(got[0].hwnd, hwnd);
    }
}

TEST_F(Input, AutoRepeatGivesRepeatedKeyDownsAndOneKeyUp) {
    Settle();
    win32test::InjectKey(SDL_SCANCODE_LEFT, SDLK_LEFT, true);
    win32test::InjectKey(SDL_SCANCODE_LEFT, SDLK_LEFT, true, true);
    win32test::InjectKey(SDL_SCANCODE_LEFT, SDLK_LEFT, true, true);
    win32test::InjectKey(SDL_SCANCODE_LEFT, SDLK_LEFT, false);
    const auto got = Drain();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(Only(got, WM_KEYDOWN).size(), 3u);
    EXPECT_EQ(Only(got, WM_KEYUP).size(), 1u);
    // Bit 30: the key was down before this message.
    EXPECT_EQ(got[0].lParam & (1 << 30), 0);
    EXPECT_NE(got[1].lParam & (1 << 30), 0);
}

TEST_F(Input, MouseGivesClientCoordinatesBelowTheMenuBarAndButtonFlags) {
    const int bar = win32test::MenuBarHeight();
    Settle();
    win32test::InjectMouseButton(100, bar + 50, SDL_BUTTON_LEFT, true);
    win32test::InjectMouseMotion(110, bar + 60, SDL_BUTTON_LMASK);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_RIGHT, true);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_LEFT, false);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_RIGHT, false);
    const auto got = Drain();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), 50);
    EXPECT_EQ(got[0].wParam, MK_LBUTTON);
    EXPECT_EQ(got[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(got[1].wParam, MK_LBUTTON);
    EXPECT_EQ(GET_Y_LPARAM(got[1].lParam), 60);
    EXPECT_EQ(got[2].message, WM_RBUTTONDOWN);
    EXPECT_EQ(got[2].wParam, MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(got[3].message, WM_LBUTTONUP);
    EXPECT_EQ(got[3].wParam, MK_RBUTTON);
    EXPECT_EQ(got[4].message, WM_RBUTTONUP);
    EXPECT_EQ(got[4].wParam, 0u);
}

TEST_F(Input, ModifiersShowInTheMouseFlagsAndTheMenuBarKeepsItsMouseInput) {
    Settle();
    win32test::InjectKey(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true, false, KMOD_LSHIFT | KMOD_LCTRL);
    win32test::InjectMouseMotion(10, win32test::MenuBarHeight() + 10, 0);
    win32test::InjectMouseButton(20, 5, SDL_BUTTON_LEFT, true);   // on the menu bar
    win32test::InjectMouseButton(20, 5, SDL_BUTTON_LEFT, false);
    const auto got = Drain();
    EXPECT_TRUE(Only(got, WM_LBUTTONDOWN).empty() && Only(got, WM_LBUTTONUP).empty());
    const auto moves = Only(got, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].wParam, MK_SHIFT | MK_CONTROL);
}

TEST_F(Input, SizeMinimiseRestoreAndCloseBecomeWindowMessages) {
    const int bar = win32test::MenuBarHeight();
    Settle();
    win32test::InjectResize(500, 400);
    win32test::InjectMinimize();
    win32test::InjectRestore();
    win32test::InjectQuit();
    const auto got = Drain();
    const auto sizes = Only(got, WM_SIZE);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(LOWORD(sizes[0].lParam), 500);
    EXPECT_EQ(HIWORD(sizes[0].lParam), 400 - bar);
    EXPECT_EQ(sizes[1].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(sizes[1].lParam, 0);
    EXPECT_EQ(LOWORD(sizes[2].lParam), 500);
    EXPECT_EQ(HIWORD(sizes[2].lParam), 400 - bar);
    EXPECT_EQ(Only(got, WM_CLOSE).size(), 1u);
}
