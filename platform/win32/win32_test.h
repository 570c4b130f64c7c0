// Test modes of the window layer. Switched on by a test's set-up, never by the program.
// No platform call: test hooks only.
//
// Recorded interaction: message boxes and colour dialogs are recorded and answered (with
// their default button, or as a test said) instead of being shown.
// No window system: windows exist only as objects (no SDL video, no GL); input is injected
// as SDL events through the same translator that real input goes through.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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
