// Window-system input translated into window messages.
#include "tests/platform/win32_fixture.h"

using Input = HeadlessWindow;

TEST_F(Input, KeysGiveTheirVirtualKeyCodesAndAutoRepeatIsMarked) {
    struct KeyCase {
        SDL_Scancode scancode;
        SDL_Keycode key;
        WORD vk;
    };
    const KeyCase keys[] = {
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27}, {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 33},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},     {SDL_SCANCODE_DELETE, SDLK_DELETE, 46},
        {SDL_SCANCODE_KP_2, SDLK_KP_2, 98},     {SDL_SCANCODE_KP_9, SDLK_KP_9, 105},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 107}, {SDL_SCANCODE_F8, SDLK_F8, 119},
        // With Num Lock off the pad's keys report navigation symbols; they still count as the pad.
        {SDL_SCANCODE_KP_8, SDLK_UP, 104},
    };
    for (const KeyCase& k : keys) {
        Settle();
        win32test::InjectKey(k.scancode, k.key, true);
        win32test::InjectKey(k.scancode, k.key, true, true);   // auto-repeat
        win32test::InjectKey(k.scancode, k.key, false);
        const auto got = Drain();
        ASSERT_EQ(got.size(), 3u) << SDL_GetScancodeName(k.scancode);
        EXPECT_EQ(got[0].wParam, k.vk) << SDL_GetScancodeName(k.scancode);
        EXPECT_EQ(got[1].message, WM_KEYDOWN);
        EXPECT_EQ(got[2].message, WM_KEYUP);
        EXPECT_EQ(got[2].wParam, k.vk);
        // Bit 30: the key was down before this message.
        EXPECT_EQ(got[0].lParam & (1 << 30), 0);
        EXPECT_NE(got[1].lParam & (1 << 30), 0);
    }
}

// Client coordinates below the menu bar, button and modifier flags, the bar keeping its own
// clicks, and the client area's size.
TEST_F(Input, MouseAndWindowEventsBecomeWindowMessages) {
    const int bar = win32test::MenuBarHeight();
    Settle();
    win32test::InjectMouseButton(100, bar + 50, SDL_BUTTON_LEFT, true);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_RIGHT, true);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_LEFT, false);
    win32test::InjectMouseButton(110, bar + 60, SDL_BUTTON_RIGHT, false);
    win32test::InjectKey(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true, false, KMOD_LSHIFT | KMOD_LCTRL);
    win32test::InjectMouseMotion(10, bar + 10, 0);
    win32test::InjectMouseButton(20, 5, SDL_BUTTON_LEFT, true);   // on the menu bar
    win32test::InjectMouseButton(20, 5, SDL_BUTTON_LEFT, false);
    win32test::InjectResize(500, 400);
    const auto got = Drain();
    const auto downs = Only(got, WM_LBUTTONDOWN), rights = Only(got, WM_RBUTTONDOWN), ups = Only(got, WM_LBUTTONUP);
    ASSERT_TRUE(downs.size() == 1 && rights.size() == 1 && ups.size() == 1);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 50);
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
    EXPECT_EQ(rights[0].wParam, MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(ups[0].wParam, MK_RBUTTON);
    const auto moves = Only(got, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].wParam, MK_SHIFT | MK_CONTROL);

    const auto sizes = Only(got, WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(HIWORD(sizes[0].lParam), 400 - bar);
}

// A drag holds on to the mouse: over the menu bar and outside the window its moves and its
// release still reach the capturing window, in client coordinates left of or above the client
// area; without capture the bar keeps its moves again.
TEST_F(Input, ACapturingWindowGetsTheMouseWhereverThePointerGoes) {
    const int bar = win32test::MenuBarHeight();
    Settle();
    EXPECT_EQ(SetCapture(hwnd), nullptr);
    EXPECT_EQ(GetCapture(), hwnd);
    win32test::InjectMouseMotion(10, 5, SDL_BUTTON_LMASK);
    win32test::InjectMouseMotion(-30, -40, SDL_BUTTON_LMASK);
    win32test::InjectMouseButton(-30, -40, SDL_BUTTON_LEFT, false);
    auto got = Drain();
    const auto moves = Only(got, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 5 - bar);
    EXPECT_EQ(GET_X_LPARAM(moves[1].lParam), -30);
    EXPECT_EQ(moves[1].wParam, MK_LBUTTON);
    EXPECT_EQ(Only(got, WM_LBUTTONUP).size(), 1u);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    win32test::InjectMouseMotion(10, 5, 0);
    EXPECT_TRUE(Only(Drain(), WM_MOUSEMOVE).empty());

    // A destroyed window neither takes the capture nor keeps it.
    SetCapture(hwnd);
    DestroyWindow(hwnd);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SetCapture(hwnd), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}
