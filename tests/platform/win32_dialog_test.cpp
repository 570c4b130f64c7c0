// Dialog boxes: the control model through dialog scripts, the open-file dialog's answers,
// and a real box on a private X server driven by window-system events.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/fs/fs.h"
#include "tests/platform/win32_fixture.h"

namespace {

struct Heard {
    UINT message;
    WORD low;
    WORD high;
    int from;   // the id of the control named in lParam
};

std::vector<Heard>& HeardByBox() {
    static std::vector<Heard> heard;
    return heard;
}

LPARAM initParam = 0;

// Records what the box hears; OK ends it with 42, Cancel with 7, "Stop" (12) with 12.
INT_PTR RecordingDialog(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initParam = lParam;
        CheckDlgButton(box, 101, BST_CHECKED);
        CheckDlgButton(box, 104, BST_CHECKED);
        SetScrollRange(GetDlgItem(box, 107), SB_CTL, 0, 200, FALSE);
        SetScrollPos(GetDlgItem(box, 107), SB_CTL, 30, FALSE);
    }
    if (message != WM_COMMAND && message != WM_HSCROLL && message != WM_INITDIALOG) return FALSE;
    const HWND control = reinterpret_cast<HWND>(lParam);
    const int from = message == WM_HSCROLL ? GetWindowLongA(control, GWL_ID) : GetDlgCtrlID(control);
    HeardByBox().push_back({message, LOWORD(wParam), HIWORD(wParam), from});
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK) EndDialog(box, 42);
        if (LOWORD(wParam) == IDCANCEL && GetDlgItem(box, IDCANCEL)) EndDialog(box, 7);
        if (LOWORD(wParam) == 12) EndDialog(box, 12);
    }
    return TRUE;
}

}  // namespace

class Dialogs : public HeadlessWindow {
protected:
    void SetUp() override {
        HeadlessWindow::SetUp();
        HeardByBox().clear();
    }
};

TEST_F(Dialogs, ScriptClicksFollowTheButtonRulesAfterInitDialog) {
    HWND seenBox = nullptr;
    win32test::SetDialogScript("TestBox", [&](HWND box) {
        seenBox = box;
        // WM_INITDIALOG came first, with the caller's parameter, and its settings hold.
        ASSERT_EQ(HeardByBox().size(), 1u);
        EXPECT_EQ(HeardByBox()[0].message, WM_INITDIALOG);
        EXPECT_EQ(initParam, 1234);
        EXPECT_EQ(IsWindowEnabled(hwnd), FALSE) << "the owner takes input while the box is open";

        // A radio button clears its own group only.
        EXPECT_TRUE(win32test::ClickControl(box, 103));
        EXPECT_EQ(IsDlgButtonChecked(box, 101), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(box, 103), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(box, 104), BST_CHECKED);
        // Auto check boxes toggle; a disabled one and a plain text take no click.
        EXPECT_TRUE(win32test::ClickControl(box, 105));
        EXPECT_EQ(SendDlgItemMessageA(box, 105, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(win32test::ClickControl(box, 105));
        EXPECT_EQ(IsDlgButtonChecked(box, 105), BST_UNCHECKED);
        EXPECT_FALSE(win32test::ClickControl(box, 106));
        EXPECT_FALSE(win32test::ClickControl(box, 108));
        EXPECT_TRUE(win32test::ClickControl(box, 109));   // a picture that notifies

        // The bar names itself in lParam; the thumb's position travels in the high word only
        // with the thumb codes; the position stays within the range.
        EXPECT_TRUE(win32test::Scroll(box, 107, SB_THUMBTRACK, 150));
        EXPECT_TRUE(win32test::Scroll(box, 107, SB_PAGERIGHT, 150));
        HWND bar = GetDlgItem(box, 107);
        EXPECT_EQ(SetScrollPos(bar, SB_CTL, 250, TRUE), 30);
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), 200);
        SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), 100);

        EXPECT_TRUE(SetDlgItemTextA(box, 108, "Fog  42"));
        char text[5];
        EXPECT_EQ(GetDlgItemTextA(box, 108, text, sizeof text), 4u);
        EXPECT_STREQ(text, "Fog ");

        EXPECT_TRUE(win32test::PressKey(box, VK_RETURN));   // the default button: OK
        EXPECT_FALSE(win32test::ClickControl(box, 105)) << "a box that has ended took a click";
    });
    EXPECT_EQ(DialogBoxParamA(nullptr, "TestBox", hwnd, RecordingDialog, 1234), 42);
    EXPECT_EQ(IsWindowEnabled(hwnd), TRUE);
    EXPECT_FALSE(IsWindow(seenBox));

    const auto& heard = HeardByBox();
    ASSERT_EQ(heard.size(), 8u);
    const WORD commands[] = {103, 105, 105, 109};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(heard[1 + i].message, WM_COMMAND);
        EXPECT_EQ(heard[1 + i].low, commands[i]);
        EXPECT_EQ(heard[1 + i].high, BN_CLICKED);
    }
    EXPECT_EQ(heard[4].from, 109);
    EXPECT_EQ(heard[5].message, WM_HSCROLL);
    EXPECT_TRUE(heard[5].low == SB_THUMBTRACK && heard[5].high == 150);
    EXPECT_TRUE(heard[6].low == SB_PAGERIGHT && heard[6].high == 0);
    EXPECT_EQ(heard[6].from, 107);
}

// Enter sends the default button, which need not be OK; Esc and the close button send
// IDCANCEL (here without a Cancel button, so the box stays); a script that leaves the box
// open closes it as the close button would, and a box that will not end returns -1.
TEST_F(Dialogs, KeysAndTheCloseButtonAndAScriptThatLeavesTheBoxOpen) {
    win32test::SetDialogScript(nullptr, [](HWND box) {
        EXPECT_TRUE(win32test::PressKey(box, VK_RETURN));
        EXPECT_TRUE(win32test::PressKey(box, VK_ESCAPE));
        EXPECT_TRUE(win32test::CloseBox(box));
    });
    EXPECT_EQ(DialogBoxParamA(nullptr, "KeyBox", hwnd, RecordingDialog, 0), -1);
    std::vector<WORD> commands;
    for (const Heard& h : HeardByBox())
        if (h.message == WM_COMMAND) commands.push_back(h.low);
    EXPECT_EQ(commands, (std::vector<WORD>{11, IDCANCEL, IDCANCEL, IDCANCEL}));

    // The default button ends it this time.
    win32test::SetDialogScript("KeyBox", [](HWND box) { win32test::ClickControl(box, 12); });
    EXPECT_EQ(DialogBoxParamA(nullptr, "KeyBox", hwnd, RecordingDialog, 0), 12);
    const auto& shown = win32test::RecordedDialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[1].owner == hwnd && shown[1].templateName == "KeyBox" && shown[1].result == 12);
}

TEST_F(Dialogs, WithoutAScriptTheBoxIsCancelledAndAMissingTemplateFails) {
    EXPECT_EQ(DialogBoxParamA(nullptr, "TestBox", hwnd, RecordingDialog, 0), 7);
    EXPECT_EQ(IsWindowEnabled(hwnd), TRUE);
    EXPECT_EQ(DialogBoxParamA(nullptr, "NoSuchBox", hwnd, RecordingDialog, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

// The test's answers go through the checks a typed name does: relative to the initial
// folder (a Windows-style name), the default extension added, a missing file refused.
// The keyboard reaches every control: Tab goes round the tab stops in template order, a radio
// group counting once, at its checked button; Shift+Tab goes back past the whole group; the
// arrows check the group's next button; Space clicks; Enter presses the push button that Tab
// reached rather than the default one.
TEST_F(Dialogs, TabArrowsSpaceAndEnterReachEveryControl) {
    win32test::SetDialogScript("TestBox", [](HWND box) {
        using win32test::PressKey;
        PressKey(box, VK_TAB);    // from OK, the first tab stop, to Cancel
        PressKey(box, VK_TAB);    // the Fill group, at its checked "Points"
        PressKey(box, VK_DOWN);   // "Wire"
        PressKey(box, VK_DOWN);   // "Solid"
        EXPECT_EQ(IsDlgButtonChecked(box, 103), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(box, 101), BST_UNCHECKED);
        PressKey(box, VK_TAB);    // "Flat", a group of its own
        PressKey(box, VK_TAB);    // "Dithering"
        PressKey(box, VK_SPACE);
        EXPECT_EQ(IsDlgButtonChecked(box, 105), BST_CHECKED);
        PressKey(box, VK_TAB);    // the scroll bar: the disabled box and the texts are no stops
        PressKey(box, VK_TAB);    // round to OK
        for (int i = 0; i < 5; ++i) PressKey(box, VK_TAB, true);   // bar, Dithering, Flat, Solid, Cancel
        PressKey(box, VK_RETURN);
    });
    EXPECT_EQ(DialogBoxParamA(nullptr, "TestBox", hwnd, RecordingDialog, 0), 7) << "Enter did not press Cancel";
    std::vector<WORD> commands;
    for (const Heard& h : HeardByBox())
        if (h.message == WM_COMMAND) commands.push_back(h.low);
    EXPECT_EQ(commands, (std::vector<WORD>{102, 103, 105, IDCANCEL}));
}

TEST_F(Dialogs, OpenFileAnswersAreCheckedLikeTypedNames) {
    namespace stdfs = std::filesystem;
    const stdfs::path root = stdfs::temp_directory_path() / ("dialog_test_" + std::to_string(getpid()));
    stdfs::create_directories(root / "virelux");
    std::ofstream(root / "virelux" / "cube.x") << "xof";
    fs::SetInstallationFolder((root / "virelux").string());

    char file[256] = "", title[32] = "";
    OPENFILENAMEA ofn;
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = "Model (*.x)\0*.x\0Image  (*.bmp)\0*.bmp\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrInitialDir = "\\Virelux";
    ofn.lpstrTitle = "Load Mesh X-Object (*.X)";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = ".x";

    win32test::AnswerOpenFile("cube");
    win32test::AnswerOpenFile("sphere.x");
    win32test::AnswerOpenFile(std::nullopt);
    ASSERT_EQ(GetOpenFileNameA(&ofn), TRUE);
    const std::string expected = (root / "virelux" / "cube.x").string();
    EXPECT_EQ(std::string(file), expected);
    EXPECT_STREQ(title, "cube.x");
    EXPECT_STREQ(file + ofn.nFileOffset, "cube.x");
    EXPECT_STREQ(file + ofn.nFileExtension, "x");
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE) << "a missing file was taken";
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE);
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE) << "no answer queued is a cancel";

    const auto& asked = win32test::RecordedOpenFiles();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].owner, hwnd);
    EXPECT_EQ(asked[0].title, "Load Mesh X-Object (*.X)");
    ASSERT_EQ(asked[0].filters.size(), 2u);
    EXPECT_TRUE(asked[0].filters[1].first == "Image  (*.bmp)" && asked[0].filters[1].second == "*.bmp");
    stdfs::remove_all(root);
}

// Real boxes on a private X server, driven by window-system events: clicks, a thumb drag,
// the arrow, Home on the focused bar and Enter reach the procedure as the platform's
// messages in order; a message box over the box takes the keys while it is open; a
// termination signal cancels the box and stays queued for the owner; a name typed into the
// file browser is taken.
class ShownDialog : public ::testing::Test {
protected:
    enum class Scenario { Input, Quit, MessageBoxOnTop, Browse };
    static constexpr UINT kDrive = WM_USER + 10;    // posted by the box: inject the input
    static constexpr UINT kFrame = WM_USER + 11;    // re-posts itself, one a frame of the box
    static constexpr UINT kAnswer = WM_USER + 12;   // posted before a message box opens

    void SetUp() override {
        window = OpenXWindow(xvfb, "DialogTest", Proc, 320, 240);
        ASSERT_NE(window, nullptr);
    }

    static void Click(const RECT& r, int x, int y) {
        win32test::InjectMouseMotion(r.left + x, r.top + y, 0);
        win32test::InjectMouseButton(r.left + x, r.top + y, SDL_BUTTON_LEFT, true);
        win32test::InjectMouseButton(r.left + x, r.top + y, SDL_BUTTON_LEFT, false);
    }
    static void Tap(SDL_Scancode scancode, SDL_Keycode key) {
        win32test::InjectKey(scancode, key, true);
        win32test::InjectKey(scancode, key, false);
    }

    static void DriveInput() {
        Click(win32test::ControlRect(box, 103), 6, 8);
        Click(win32test::ControlRect(box, 105), 6, 8);
        // The bar stands at 0: its thumb is the square right of the left arrow.
        const RECT bar = win32test::ControlRect(box, 107);
        const int h = bar.bottom - bar.top;
        win32test::InjectMouseButton(bar.left + h + h / 2, bar.top + h / 2, SDL_BUTTON_LEFT, true);
        win32test::InjectMouseMotion(bar.left + h + h / 2 + 60, bar.top + h / 2, SDL_BUTTON_LMASK);
        win32test::InjectMouseButton(bar.left + h + h / 2 + 60, bar.top + h / 2, SDL_BUTTON_LEFT, false);
        Click(bar, bar.right - bar.left - h / 2, h / 2);
        Tap(SDL_SCANCODE_HOME, SDLK_HOME);
        Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    }

    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kDrive) {
            if (scenario == Scenario::Input) DriveInput();
            if (scenario == Scenario::Quit) win32test::InjectQuit();
            if (scenario == Scenario::MessageBoxOnTop) Click(win32test::ControlRect(box, 105), 6, 8);
        }
        if (message == kAnswer) Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
        if (message == kDrive || (message == kFrame && (IsWindow(box) || scenario == Scenario::Browse))) {
            ++frames;
            if (scenario == Scenario::Browse && frames == 5) win32test::InjectText("Würfel eins");
            if (scenario == Scenario::Browse && frames == 8) Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
            // Should input be lost, the box ends after many frames instead of hanging.
            if (frames == 1200) Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            if (frames < 1300) PostMessageA(hwnd, kFrame, 0, 0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    static INT_PTR Dialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) {
            box = dialog;
            SetScrollRange(GetDlgItem(dialog, 107), SB_CTL, 0, 100, FALSE);
            PostMessageA(window, kDrive, 0, 0);
            return TRUE;
        }
        if (message == WM_HSCROLL) {
            scrolls.push_back(LOWORD(wParam));
            if (LOWORD(wParam) == SB_THUMBPOSITION) thumbAt = HIWORD(wParam);
            return TRUE;
        }
        if (message != WM_COMMAND) return FALSE;
        commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == 105 && scenario == Scenario::MessageBoxOnTop) {
            PostMessageA(window, kAnswer, 0, 0);
            messageBoxAnswer = MessageBoxA(dialog, "Fog not turned on!", "Report", MB_OKCANCEL);
            Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        }
        if (LOWORD(wParam) == IDOK) {
            radiosAtOk = IsDlgButtonChecked(dialog, 101) * 10 + IsDlgButtonChecked(dialog, 103);
            EndDialog(dialog, 99);
        }
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 3);
        return TRUE;
    }

    static inline Scenario scenario = Scenario::Input;
    static inline HWND window = nullptr;
    static inline HWND box = nullptr;
    static inline int frames = 0;
    static inline int thumbAt = -1;
    static inline int messageBoxAnswer = 0;
    static inline UINT radiosAtOk = 0;
    static inline std::vector<WORD> commands;
    static inline std::vector<WORD> scrolls;
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
};

TEST_F(ShownDialog, WindowSystemInputReachesTheProcedureAsThePlatformsMessages) {
    const INT_PTR result = DialogBoxParamA(nullptr, "TestBox", window, Dialog, 0);
    ASSERT_EQ(result, 99) << "input was lost (" << frames << " frames)";
    EXPECT_EQ(commands, (std::vector<WORD>{103, 105, IDOK}));
    EXPECT_EQ(radiosAtOk, 1u) << "the clicked radio button did not clear its group";
    EXPECT_EQ(scrolls, (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL, SB_LINERIGHT, SB_ENDSCROLL, SB_LEFT,
                                          SB_ENDSCROLL}));
    EXPECT_GT(thumbAt, 20);
}

TEST_F(ShownDialog, AMessageBoxOverTheBoxTakesItsKeysWhileOpen) {
    scenario = Scenario::MessageBoxOnTop;
    EXPECT_EQ(DialogBoxParamA(nullptr, "TestBox", window, Dialog, 0), 3);
    EXPECT_EQ(messageBoxAnswer, IDOK);
    EXPECT_EQ(commands, (std::vector<WORD>{105, IDCANCEL})) << "Enter reached the box under the message box";
}

TEST_F(ShownDialog, ATerminationSignalCancelsTheBoxAndClosesTheOwnerAfterwards) {
    scenario = Scenario::Quit;
    EXPECT_EQ(DialogBoxParamA(nullptr, "TestBox", window, Dialog, 0), 3);
    EXPECT_EQ(commands, (std::vector<WORD>{IDCANCEL}));
    MSG msg;
    bool closeQueued = false;
    while (!closeQueued && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_CLOSE && msg.hwnd == window) closeQueued = true;
        else DispatchMessageA(&msg);
    }
    EXPECT_TRUE(closeQueued);
}

// Spaces and letters beyond ASCII, in the folder's name and the file's, typed as a user types them.
TEST_F(ShownDialog, ANameTypedIntoTheFileBrowserIsTakenWithTheDefaultExtension) {
    namespace stdfs = std::filesystem;
    const stdfs::path folder = stdfs::temp_directory_path() / ("Prüf Ordner " + std::to_string(getpid()));
    stdfs::create_directories(folder);
    std::ofstream(folder / "Würfel eins.x") << "xof";
    scenario = Scenario::Browse;
    PostMessageA(window, kFrame, 0, 0);
    char file[256] = "";
    OPENFILENAMEA ofn;
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = "Model (*.x)\0*.x\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    const std::string start = folder.string();
    ofn.lpstrInitialDir = start.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST;
    ofn.lpstrDefExt = "x";
    EXPECT_EQ(GetOpenFileNameA(&ofn), TRUE) << frames << " frames";
    EXPECT_EQ(std::string(file), (folder / "Würfel eins.x").string());
    stdfs::remove_all(folder);
}
