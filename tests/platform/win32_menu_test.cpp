// Menus, accelerators and string resources.
#include "tests/platform/win32_fixture.h"

using Menus = HeadlessWindow;

TEST_F(Menus, TheClassMenuTreeItsCommandsPopupsAndChecks) {
    HMENU bar = GetMenu(hwnd);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemID(file, 0), 11u);
    EXPECT_NE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_NE(GetSubMenu(file, 2), nullptr);
    EXPECT_EQ(GetSubMenu(bar, 2), nullptr);   // "Go" is a command on the bar itself

    // Choosing an item posts its command; opening a popup sends WM_INITMENUPOPUP with it.
    Settle();
    win32test::ChooseMenuItem(hwnd, 21);
    const auto got = Drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, WM_COMMAND);
    EXPECT_EQ(LOWORD(got[0].wParam), 21);
    EXPECT_EQ(HIWORD(got[0].wParam), 0);   // from a menu, not an accelerator
    Settle();
    win32test::OpenMenuPopup(hwnd, {0, 2});
    ASSERT_EQ(SeenMessages().size(), 1u);
    EXPECT_EQ(SeenMessages()[0].message, WM_INITMENUPOPUP);
    EXPECT_EQ(reinterpret_cast<HMENU>(SeenMessages()[0].wParam), GetSubMenu(GetSubMenu(GetMenu(hwnd), 0), 2));
    EXPECT_EQ(LOWORD(SeenMessages()[0].lParam), 2);

    // CheckMenuItem finds commands in nested popups and returns the previous state.
    EXPECT_EQ(CheckMenuItem(bar, 21, MF_CHECKED), MF_UNCHECKED);
    HMENU recent = GetSubMenu(GetSubMenu(bar, 0), 2);
    EXPECT_NE(GetMenuState(recent, 21, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(CheckMenuItem(bar, 999, MF_CHECKED), 0xFFFFFFFFu);
    EXPECT_EQ(CheckMenuItem(recent, 0, MF_BYPOSITION | MF_UNCHECKED), MF_CHECKED);
}

TEST_F(Menus, AnAcceleratorSendsItsCommandInsteadOfTheKeyWithItsModifiersHeld) {
    HACCEL keys = LoadAcceleratorsA(nullptr, "KEYS");
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, "MISSING"), nullptr);
    Settle();
    MSG key;
    key.hwnd = hwnd;
    key.message = WM_KEYDOWN;
    key.wParam = VK_F2;
    EXPECT_EQ(TranslateAcceleratorA(hwnd, keys, &key), 1);
    ASSERT_EQ(SeenMessages().size(), 1u);
    EXPECT_EQ(SeenMessages()[0].message, WM_COMMAND);
    EXPECT_EQ(LOWORD(SeenMessages()[0].wParam), 50);
    EXPECT_EQ(HIWORD(SeenMessages()[0].wParam), 1);   // from an accelerator
    key.wParam = VK_F3;
    EXPECT_EQ(TranslateAcceleratorA(hwnd, keys, &key), 0);

    // One with Control needs Control held.
    key.wParam = 'O';
    EXPECT_EQ(TranslateAcceleratorA(hwnd, keys, &key), 0);
    win32test::InjectKey(SDL_SCANCODE_LCTRL, SDLK_LCTRL, true, false, KMOD_LCTRL);
    Settle();
    EXPECT_EQ(TranslateAcceleratorA(hwnd, keys, &key), 1);
}

TEST_F(Menus, StringsLoadByNumberAndAMissingOneLeavesTheBufferAlone) {
    char buffer[256] = "unchanged";
    EXPECT_EQ(LoadStringA(nullptr, 2, buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "A title");
    EXPECT_EQ(LoadStringA(nullptr, 99, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "A title");
}
