// Internal to platform/win32: the objects behind the handles and the one struct that holds
// all of the window layer's state.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/dialog_model.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_test.h"

struct ImGuiContext;

struct MenuItem {
    std::string text;
    UINT id = 0;
    UINT flags = 0;
    std::unique_ptr<HMENU__> popup;   // set for MF_POPUP items
};

struct HMENU__ {
    std::vector<MenuItem> items;
};

struct WindowClass {
    WNDCLASSEXA info;
    std::string name;
    std::string menuName;   // copied when lpszMenuName is a text
    WORD menuId = 0;        // set when lpszMenuName is a resource number
};

struct HACCEL__ {
    std::vector<ACCEL> entries;
};

struct HICON__ {
    SDL_Surface* surface = nullptr;
};

struct HCURSOR__ {
    WORD id = 0;
    SDL_Cursor* system = nullptr;   // made when first shown; lives as long as the process
};

struct HDC__ {
    HWND hwnd = nullptr;
};

struct HWND__ {
    WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    std::string title;
    DWORD style = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::unique_ptr<HMENU__> menu;   // the window's menu bar, loaded from the class menu

    int width = 0;    // whole window, menu bar included
    int height = 0;
    bool visible = false;
    bool minimized = false;
    bool invalid = false;   // part of the window needs painting
    bool destroyed = false;
    bool disabled = false;  // EnableWindow(FALSE): input does not reach it

    // Dialog boxes and their controls (dialog.cpp, dialog_controls.cpp).
    HWND parent = nullptr;                   // a control's box
    int id = 0;                              // a control's id (GWL_ID)
    std::unique_ptr<ControlState> control;   // set for controls
    std::unique_ptr<DialogState> dialog;     // set for dialog boxes

    // Set for a window that another process shows (found through FindWindowA).
    bool remote = false;
    std::string remoteAddress;

    SDL_Window* sdl = nullptr;
    void* gl = nullptr;                // SDL_GLContext
    int glVersion = 0;                 // 33 for 3.3
    bool glCore = false;
    ImGuiContext* imgui = nullptr;
    std::vector<int> openPopups;       // menu bar popups open in the last drawn frame
    unsigned clientImage = 0;          // last client image handed over by the renderer
    int clientImageWidth = 0;
    int clientImageHeight = 0;
    // The last client image was drawn in place and presented: the back buffer still holds
    // it, its bottom row at clientImageBottom, and the clientImage texture does not yet.
    bool clientImageInBack = false;
    int clientImageBottom = 0;
    struct HDC__ dc;
    // The modal boxes drawn over the window while they run, innermost last (a repaint shows
    // them too); only the innermost takes input. A dialog box's own controls are the first.
    std::vector<const std::function<void()>*> modalDraws;
    // Input events for ImGui, handed over one press or release a frame (see FeedImGuiInput).
    std::deque<SDL_Event> imguiEvents;
    Uint64 imguiTime = 0;              // when the last ImGui frame began
};

struct Win32State {
    bool recordedInteraction = false;
    bool noWindowSystem = false;
    bool videoUp = false;           // SDL video initialised
    bool videoFailed = false;       // tried and failed; the reason was printed once
    int displayBits = 32;           // headless display depth

    DWORD lastError = 0;
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::vector<std::unique_ptr<HWND__>> windows;   // live and remote windows
    HWND mainWindow = nullptr;                      // the first top-level window: GL and ImGui

    std::mutex postedLock;    // guards `posted`: any thread may post
    std::deque<MSG> posted;   // PostMessageA
    std::deque<MSG> input;    // translated window-system events
    bool quitPosted = false;
    bool closePending = false;   // a termination signal came before the main window existed
    int quitCode = 0;

    std::vector<SDL_Event> injected;   // test input waiting for translation
    std::vector<win32test::RecordedMessageBox> recordedBoxes;
    std::vector<std::unique_ptr<HACCEL__>> accelerators;
    std::vector<std::unique_ptr<HICON__>> icons;
    std::vector<std::unique_ptr<HCURSOR__>> cursors;   // one per system cursor id
    HCURSOR currentCursor = nullptr;                   // SetCursor's last (at first the main window's class cursor)
    HWND capture = nullptr;                            // SetCapture's window: gets all mouse input

    std::uint64_t presentedFrames = 0;
    bool vsyncRefused = false;
    std::uint64_t presentDueNs = 0;   // earliest CLOCK_MONOTONIC time of the next paced present; 0: none
    bool firstFrameReported = false;
    Uint32 userEventType = 0;   // SDL user events posted by the single-instance server
    Uint16 modState = 0;         // modifier keys, tracked from key events without SDL video
    Uint32 buttonState = 0;      // mouse buttons, tracked likewise
    std::function<void()> waitHook;   // headless WaitMessage calls it when nothing waits

    // Dialog boxes: those open now, innermost last; the test's dialog scripts by template
    // name ("" for any) and what was shown; the test's answers to open-file dialogs.
    std::vector<HWND> openBoxes;
    std::vector<std::pair<std::string, std::function<void(HWND)>>> dialogScripts;
    std::vector<win32test::RecordedDialog> recordedDialogs;
    std::deque<std::optional<std::string>> openFileAnswers;
    std::vector<win32test::RecordedOpenFile> recordedOpenFiles;
};

Win32State& W32();

// Shared between the files of platform/win32.
namespace win32_internal {

bool EnsureVideo();                              // initialises SDL video once; false without a display
HWND LiveWindow(HWND hwnd);                      // hwnd when it names a live local window
HWND WindowForSdl(Uint32 windowId);
void PumpEvents(bool forModal);                  // SDL and injected events -> input queue / ImGui
void TranslateEvent(const SDL_Event& event, bool forModal);
void QueueWindowEvent(HWND hwnd, Uint8 kind);    // as if the window system reported it
int MenuBarHeight();
// Draws the client image, the menu bar and `modal` on top, and swaps; `pace` holds the
// swaps to the display's rate where vertical sync is refused: it waits for the due time the
// last paced swap set (at once when the message pump has waited already) and sets the next.
// `clientDrawn`: the client image is in the back buffer already (ClientImageBottom) and is
// not drawn again.
void DrawWindowFrame(HWND hwnd, const std::function<void()>* modal, bool pace, bool clientDrawn = false);
// Waits until the next paced present is due. With `wakeForMessages` it returns early, true,
// as soon as a window-system event or a newly posted message arrives (PumpEvents has taken
// the earlier ones); false when the present is due or none is pending (vertical sync paces,
// pacing is off, nothing was presented yet).
bool WaitForPresentDue(bool wakeForMessages);
bool CreateGlWindow(HWND hwnd, bool visible);
void DestroyGlWindow(HWND hwnd);
void DrawMenuBarItems(HWND hwnd);
std::unique_ptr<HMENU__> BuildMenu(const ResMenu& resource);
// Claims the class's address for `hwnd` and answers on it from then on. Claimed; Taken when
// a window of another process answers there already (it has been asked to come forward);
// Unavailable when no address could be set up (the window is then not findable).
enum class InstanceClaim { Claimed, Taken, Unavailable };
InstanceClaim StartInstanceServer(HWND hwnd);
void StopInstanceServer(HWND hwnd);
bool RemoteRequest(const std::string& address, const char* request, std::string* reply);
std::string InstanceAddress(const std::string& className);
void HandleUserEvent(const SDL_Event& event);
void NoteWindowState(HWND hwnd);                 // tells the single-instance server
void RunWaitHook();
void ShutdownWindows();                          // at process end, without messages
WORD VirtualKeyFor(SDL_Scancode scancode, SDL_Keycode key);
// Takes the first posted message for `hwnd` (any window when nullptr) within the filter.
bool TakePosted(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove);
size_t PostedCount();
// Runs a modal loop over `host` until `done()` says so: posted messages and WM_PAINT keep
// reaching their windows, input to the host is held back, and `draw` is drawn over the host
// each frame. A close of the main window (the window manager's, a termination signal) or
// WM_QUIT ends it early and stays queued for the normal path. False when it ended that way.
bool RunModalLoop(HWND host, const std::function<void()>& draw, const std::function<bool()>& done);
// Starts an ImGui frame for the window: display size, time step and the next queued input.
void BeginImGuiFrame(HWND hwnd);
// Forgets presses that reached the window before a modal box opened, so that the key
// which opened a box does not answer it too.
void DropQueuedPresses(HWND hwnd);
// A window of its own for a modal box (a dialog, the file browser): `width` x `height`
// client pixels, centred over `owner` (the screen without one) and kept on the screen, with
// its own GL and ImGui contexts; hidden until ShowWindow. False without a window system.
bool CreateBoxWindow(HWND box, HWND owner, int width, int height, bool caption);
// The ImGui font of boxes: a proportional sans-serif of the dialog font's size where the
// system has one, else ImGui's own.
void LoadBoxFont();
// Raises the open boxes over their owners again (after the main window was raised).
void RaiseOpenBoxes();
// The top-level window that input injected by a test reaches: the innermost open box that
// has a window, else the main window.
HWND ActiveWindow();
// The innermost open dialog box that `owner` owns, directly or through other boxes; nullptr.
HWND LastActiveBox(HWND owner);

// Dialog boxes (dialog.cpp, dialog_controls.cpp, dialog_draw.cpp).
// A box object without controls or window yet: its procedure, owner and caption.
HWND NewDialogBox(const std::string& templateName, const char* caption, DWORD style, HWND owner, DLGPROC proc,
                  HINSTANCE instance);
// Runs a box made by NewDialogBox until it ends, then destroys it: the owner is disabled,
// WM_INITDIALOG is sent, then `script` runs, or without one the box shows in a window of
// `width` x `height` pixels (drawn by its drawContent) in the nested modal loop. The
// result EndDialog was given; -1 when the box could not be shown or was not ended.
INT_PTR RunDialogBox(HWND box, LPARAM param, int width, int height, const std::function<void(HWND)>* script);
LRESULT DialogWindowProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);   // the default dialog manager
LRESULT ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);    // BM_* and STM_* messages
void DrawDialogControls(HWND box);   // inside an ImGui frame of the box's window
// The user's actions on the control model; false when the control or box takes none.
bool ClickDialogControl(HWND control);
bool ScrollDialogControl(HWND bar, WORD code, int pos);
// Enter, Esc, Tab (Shift+Tab: `shift`), Space, and the arrows in a radio group.
bool PressDialogKey(HWND box, WORD virtualKey, bool shift = false);

}  // namespace win32_internal
