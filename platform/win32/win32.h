// The Windows user-interface and kernel calls that the program uses, over SDL2, OpenGL and
// Dear ImGui. One GUI thread; one message queue per process. Spellings, argument orders
// and results are the platform's own.
// Declares the windows, messages, menus, message boxes, dialog boxes, the open-file and colour
// dialogs, resources, painting, mouse capture, threads and events, shell and single-instance
// calls implemented in this folder (one file each).
// Leaves out: modeless dialogs, GDI drawing, GetMessageA.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win32/com.h"
#include "platform/win32/dialog_types.h"
#include "platform/win32/win32_types.h"

// ---- Resources the program hands to the platform -----------------------------------------
// The program defines Win32ProgramResources() (as it defines WinMain); the platform reads
// its menus, strings, accelerators and images from there.

struct ResMenuItem {
    const char* text = "";            // item text; "" for a separator
    UINT id = 0;                      // command id (0 for popups and separators)
    UINT flags = MF_STRING;           // MF_POPUP, MF_SEPARATOR, MF_HELP, MF_CHECKED, MF_GRAYED
    std::vector<ResMenuItem> items;   // the popup's items when flags has MF_POPUP
};

struct ResMenu {
    WORD id = 0;
    std::vector<ResMenuItem> items;   // the menu bar, left to right
};

struct ResString {
    UINT id = 0;
    const char* text = "";
};

struct ResAccelTable {
    const char* name = "";
    std::vector<ACCEL> entries;
};

// An icon or bitmap resource: a .bmp file in the installation folder.
struct ResImage {
    WORD id = 0;
    const char* file = "";            // installation-relative path, for example "res/app.bmp"
};

// The classes of dialog controls.
enum class ResControlClass { Button, Static, ScrollBar };

// One control of a dialog template. Geometry is in dialog units of the templates' font,
// 8-point "MS Sans Serif": a horizontal unit is a quarter of its average character width
// (6 pixels), a vertical unit an eighth of its height (13 pixels).
struct ResDialogItem {
    int id = IDC_STATIC;
    ResControlClass controlClass = ResControlClass::Static;
    DWORD style = 0;           // BS_*, SS_* or SBS_HORZ, with WS_GROUP, WS_TABSTOP, WS_DISABLED
    const char* text = "";     // caption or label; "\n" breaks a static text's lines
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    WORD image = 0;            // SS_BITMAP / SS_ICON: the bitmap or icon resource it shows
};

// A dialog template, named by text ("RenBox") or, when `name` is empty, by number.
struct ResDialog {
    const char* name = "";
    WORD id = 0;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;   // no WS_CAPTION: no title bar
    const char* caption = "";
    short cx = 0;              // the client area, in dialog units
    short cy = 0;
    std::vector<ResDialogItem> items;   // in tab order; WS_GROUP starts a group
};

struct ResourceTables {
    std::vector<ResString> strings;
    std::vector<ResMenu> menus;
    std::vector<ResAccelTable> accelerators;
    std::vector<ResImage> icons;
    std::vector<ResImage> bitmaps;
    std::vector<ResDialog> dialogs;
};

const ResourceTables& Win32ProgramResources();   // defined by the program

// The program's entry point, called by the platform's main().
int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR cmdLine, int nCmdShow);

// ---- Errors and process ------------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);
HINSTANCE GetModuleHandleA(LPCSTR moduleName);   // nullptr: the process's own instance

// ---- Window classes and windows ----------------------------------------------------------
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);   // 0 when the class exists already
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ShowWindow(HWND hwnd, int cmdShow);   // the previous visibility
BOOL UpdateWindow(HWND hwnd);              // sends WM_PAINT now when part of the window is invalid
BOOL IsIconic(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);
HWND GetLastActivePopup(HWND hwnd);
// Finds a window by class (and title unless nullptr): in this process first, then a window of
// that class that another process of the same user shows on the same display.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
BOOL GetClientRect(HWND hwnd, RECT* rect);   // the area below the menu bar
// Moves and sizes the whole window (menu bar included); WM_SIZE follows through the queue.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);   // also GWLP_ID and GWL_STYLE

// ---- Painting ----------------------------------------------------------------------------
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);   // FALSE when nothing is invalid
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);           // validates the window
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
int GetDeviceCaps(HDC dc, int index);                    // BITSPIXEL: the display's colour depth
HGDIOBJ GetStockObject(int object);
int GetSystemMetrics(int index);

// ---- Messages ----------------------------------------------------------------------------
// Posted messages come before input; WM_PAINT only when the queue is otherwise empty.
// PeekMessageA finding nothing returns FALSE only once the next paced present is due (where
// vertical sync is refused); input or a posted message ends that wait at once.
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WaitMessage();                                      // blocks until a message or input waits
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int exitCode);

// ---- Menus -------------------------------------------------------------------------------
HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
BOOL DestroyMenu(HMENU menu);   // a menu no window owns
HMENU GetMenu(HWND hwnd);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);   // 0xFFFFFFFF for popups and past the end
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);   // the previous state, or 0xFFFFFFFF
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR text);
BOOL DrawMenuBar(HWND hwnd);

// ---- Accelerators ------------------------------------------------------------------------
HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR tableName);
int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg);   // non-zero when translated

// ---- Strings, icons, cursors -------------------------------------------------------------
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);   // 0 on failure
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);   // system cursors (IDC_*) only
HCURSOR SetCursor(HCURSOR cursor);                       // returns the cursor it replaced

// ---- Mouse capture (mouse_capture.cpp) ---------------------------------------------------
// The capturing window gets every mouse message, outside it and over its menu bar too, until
// ReleaseCapture (or its destruction).
HWND SetCapture(HWND hwnd);   // the window that held the capture before, or nullptr
BOOL ReleaseCapture();
HWND GetCapture();            // nullptr when no window holds it

// ---- Threads and events (threads.cpp) ----------------------------------------------------
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
struct SECURITY_ATTRIBUTES;
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
DWORD ResumeThread(HANDLE thread);   // the previous suspend count, or 0xFFFFFFFF
// An event: manual-reset stays signalled until ResetEvent; auto-reset wakes one waiter and clears.
HANDLE CreateEventA(SECURITY_ATTRIBUTES* attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Waits for an event to be signalled or a thread to end; WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);

// ---- Shell (shell.cpp) ---------------------------------------------------------------------
// "open": documents and URLs through xdg-open; a name ending in ".exe" runs the program of
// that name without the suffix from PATH or the installation folder. A result of 32 or less
// is a failure.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand);

// ---- Message boxes -----------------------------------------------------------------------
// A modal box over the owner (or over the main window when there is no owner). Enter presses
// the default button, Esc cancels.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Colour dialog (color_dialog.cpp) ------------------------------------------------------
// A modal colour picker over the owner (or the main window): the start colour when
// CC_RGBINIT is set (black otherwise), the 16 custom colours, OK (Enter) and Cancel (Esc).
// TRUE with rgbResult and the custom colours written back when confirmed; FALSE when
// cancelled, when the record is malformed, or when there is no window to show it over.
BOOL ChooseColorA(CHOOSECOLORA* chooseColor);

// ---- Dialog boxes (dialog.cpp, dialog_controls.cpp) ---------------------------------------
// A modal box made from the program's template `templateName` (a name, or MAKEINTRESOURCEA
// of a number), in a window of its own centred over `owner`, which takes no input meanwhile.
// The procedure gets WM_INITDIALOG (lParam `param`) once every control exists, then
// WM_COMMAND from buttons and clickable pictures (Enter: the default button, Esc and the
// close button: IDCANCEL) and WM_HSCROLL from scroll bars. Returns what EndDialog was given;
// -1 when the box could not be made. Closing the main window (or a termination signal) while
// the box is open cancels it (IDCANCEL) and stays queued for the main window.
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);   // the box closes when the procedure returns
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);   // the length copied
BOOL CheckDlgButton(HWND dialog, int id, UINT check);                // BST_CHECKED / BST_UNCHECKED
UINT IsDlgButtonChecked(HWND dialog, int id);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
LONG GetWindowLongA(HWND hwnd, int index);   // GWL_ID and GWL_STYLE
BOOL EnableWindow(HWND hwnd, BOOL enable);   // TRUE when the window was disabled before
BOOL IsWindowEnabled(HWND hwnd);
// Scroll bar controls (bar SB_CTL): the position stays within the range.
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);   // the previous position
int GetScrollPos(HWND hwnd, int bar);

// ---- The open-file dialog (file_dialog.cpp) ------------------------------------------------
// A modal file browser in a window of its own, honouring the filter, the initial folder (a
// Windows-style name, resolved like every file name), the title, the default extension and
// OFN_FILEMUSTEXIST / OFN_PATHMUSTEXIST. TRUE with the chosen absolute path in lpstrFile;
// FALSE when cancelled.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);

// ---- Diagnostics (diagnostics.cpp) -----------------------------------------------------------
// For measurement only: values a program wants followed on screen, under a label of its own.
// With PLATFORM_DIAG_VALUES=1 in the environment, the present after which a label's values
// differ from those last printed prints "<label> at <monotonic ns> ns: XXXXXXXX ..." on
// stderr; without it the call does nothing. Report before presenting the frame they show.
void DiagnosticValues(const char* label, const DWORD* values, int count);
