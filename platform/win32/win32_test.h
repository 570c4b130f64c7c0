// Test modes of the window layer. Switched on by a test's set-up, never by the program.
// No platform call: test hooks only.
//
// Recorded interaction: message boxes and colour dialogs are recorded and answered (with
// their default button, or as a test said) instead of being shown; a dialog box runs the test's
// dialog script instead of a window (no script: it is cancelled at once); an open-file dialog
// takes the test's next answer.
// No window system: windows exist only as objects (no SDL video, no GL); input is injected
// as SDL events through the same translator that real input goes through.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32.h"

namespace win32test {

struct RecordedMessageBox {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
    int answer = 0;   // the button the box was answered with
};

struct RecordedDialog {
    HWND owner = nullptr;
    std::string templateName;   // "#<number>" for a template named by number
    INT_PTR result = 0;         // what DialogBoxParamA returned
};

struct RecordedOpenFile {
    HWND owner = nullptr;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;   // (name, patterns)
    DWORD filterIndex = 0;
    std::string initialDir;
    DWORD flags = 0;
    std::string defaultExtension;
    std::optional<std::string> path;   // what the dialog returned; nothing when cancelled
};

void EnableRecordedInteraction();
void EnableNoWindowSystem();
bool NoWindowSystem();

// Every message box shown so far in recorded-interaction mode, oldest first.
const std::vector<RecordedMessageBox>& RecordedMessageBoxes();
void ClearRecordedMessageBoxes();

struct RecordedColorDialog {
    HWND owner = nullptr;
    COLORREF start = 0;        // what the dialog opened with (black without CC_RGBINIT)
    DWORD flags = 0;
    COLORREF custom[16] = {};  // the custom colours it was given
    bool confirmed = false;    // OK (true) or Cancel
    COLORREF result = 0;       // the colour confirmed
};

// How the next colour dialog of recorded-interaction mode is answered: OK with `colour`, or
// Cancel when empty. Answers queue up; a dialog without one is confirmed with its start
// colour (its default button).
void AnswerNextColorDialog(std::optional<COLORREF> colour);
// Every colour dialog shown so far in recorded-interaction mode, oldest first.
const std::vector<RecordedColorDialog>& RecordedColorDialogs();

// Queues an SDL event as if the window system had delivered it; the next PeekMessageA
// translates it like real input.
void InjectEvent(const SDL_Event& event);
void InjectKey(SDL_Scancode scancode, SDL_Keycode key, bool down, bool repeat = false, Uint16 mod = KMOD_NONE);
void InjectMouseMotion(int windowX, int windowY, Uint32 buttonState);
void InjectText(const char* text);   // typed characters (UTF-8)
void InjectMouseButton(int windowX, int windowY, Uint8 button, bool down);
void InjectResize(int windowWidth, int windowHeight);
void InjectMinimize();
void InjectRestore();
void InjectQuit();

// Called by WaitMessage in no-window-system mode when nothing waits, so that a test can
// feed the next input to a loop that sleeps (a minimised window).
void SetWaitHook(std::function<void()> hook);

// What the menu bar does when the user picks an item or opens a popup (`path` lists the
// positions from the menu bar down to the popup).
void ChooseMenuItem(HWND hwnd, UINT commandId);
void OpenMenuPopup(HWND hwnd, const std::vector<int>& path);

// ---- Dialog scripts ------------------------------------------------------------------------
// A dialog box made from template `templateName` (nullptr: any template without a script of
// its own) runs `script` instead of showing a window, in any mode: after WM_INITDIALOG the
// script acts on the box through the calls below and the platform's own (GetDlgItemTextA,
// IsDlgButtonChecked, GetScrollPos, ...). When the script returns with the box still open,
// the box is closed as with its close button (IDCANCEL); a procedure that does not end it
// then makes DialogBoxParamA return -1. Scripts stay until replaced or cleared.
void SetDialogScript(const char* templateName, std::function<void(HWND box)> script);
void ClearDialogScripts();
// Every dialog box that ended so far, oldest first.
const std::vector<RecordedDialog>& RecordedDialogs();
void ClearRecordedDialogs();

// What a user's click on control `id` does: an auto check box toggles, an auto radio button
// checks itself and clears the others of its group, then buttons and clickable pictures
// send WM_COMMAND with BN_CLICKED. False (nothing sent) for a disabled control, one that
// takes no clicks, or a box that has ended.
bool ClickControl(HWND box, int id);
// Sends WM_HSCROLL from scroll bar `id` with `code` (and `pos` for SB_THUMBTRACK and
// SB_THUMBPOSITION), as the user's mouse or keys on the bar would. The bar does not move
// itself: the procedure sets its position.
bool Scroll(HWND box, int id, WORD code, int pos = 0);
// Enter (VK_RETURN: the default button, or the push button Tab moved to), Esc (VK_ESCAPE:
// IDCANCEL), Tab (VK_TAB: the next tab stop), Space (VK_SPACE: clicks the focused control) or
// an arrow (the next radio button of a focused group) pressed in the box; with `shift`, Tab
// goes back.
bool PressKey(HWND box, WORD virtualKey, bool shift = false);
// The box's close button (IDCANCEL).
bool CloseBox(HWND box);
// Where control `id` lies in the box's client area, in pixels (empty when there is none).
RECT ControlRect(HWND box, int id);

// ---- Open-file dialogs ---------------------------------------------------------------------
// In recorded-interaction mode each GetOpenFileNameA takes the oldest queued answer: a path
// (checked like a name the user typed: relative to the initial folder, the default extension
// added, refused as a cancel when the flags demand an existing file that is missing) or
// nothing (cancel). No answer queued: cancel.
void AnswerOpenFile(std::optional<std::string> path);
// Every open-file dialog so far in recorded-interaction mode, oldest first.
const std::vector<RecordedOpenFile>& RecordedOpenFiles();

// Height of the menu bar above the client area, in pixels.
int MenuBarHeight();

// Frames handed to the window for presentation since the process started.
std::uint64_t PresentedFrames();
// Where vertical sync is refused: the CLOCK_MONOTONIC time (ns) before which the next paced
// present is not shown. 0 when none is pending (vertical sync paces, pacing is off, nothing
// presented yet).
std::uint64_t NextPresentDueNs();

// The display depth GetDeviceCaps(BITSPIXEL) reports in no-window-system mode (32 unless set).
void SetDisplayBitsPerPixel(int bits);

}  // namespace win32test
