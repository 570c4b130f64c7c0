// String, accelerator, icon and cursor resources, read from the tables the program defines.
// Implements: LoadStringA, LoadAcceleratorsA, TranslateAcceleratorA, LoadIconA, LoadImageA,
// LoadCursorA, SetCursor (the window system's own cursors).
// Leaves out: the instance handle (every resource is the program's); accelerator tables by
// integer id, and accelerators on characters rather than virtual keys; LoadImageA's size and
// load flags and image types other than icons and bitmaps; cursors of the program's own
// (LoadCursorA takes system cursor ids only).
#include <SDL.h>

#include <cstring>
#include <utility>

#include "platform/fs/fs.h"
#include "platform/win32/state.h"

using namespace win32_internal;

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    for (const ResString& s : Win32ProgramResources().strings) {
        if (s.id != id) continue;
        const int n = std::min<int>(bufferSize - 1, static_cast<int>(std::strlen(s.text)));
        std::memcpy(buffer, s.text, static_cast<size_t>(n));
        buffer[n] = '\0';
        return n;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
}

HACCEL LoadAcceleratorsA(HINSTANCE, LPCSTR tableName) {
    for (const ResAccelTable& t : Win32ProgramResources().accelerators) {
        const bool match = IS_INTRESOURCE(tableName) ? false : std::strcmp(t.name, tableName) == 0;
        if (!match) continue;
        auto table = std::make_unique<HACCEL__>();
        table->entries = t.entries;
        W32().accelerators.push_back(std::move(table));
        return W32().accelerators.back().get();
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

static bool ModifiersMatch(BYTE fVirt) {
    const Uint16 mod = W32().videoUp ? static_cast<Uint16>(SDL_GetModState()) : W32().modState;
    return ((fVirt & FSHIFT) != 0) == ((mod & KMOD_SHIFT) != 0) &&
           ((fVirt & FCONTROL) != 0) == ((mod & KMOD_CTRL) != 0) &&
           ((fVirt & FALT) != 0) == ((mod & KMOD_ALT) != 0);
}

int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg) {
    if (!table || !msg || !LiveWindow(hwnd)) return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
    for (const ACCEL& a : table->entries) {
        if (!(a.fVirt & FVIRTKEY) || a.key != msg->wParam || !ModifiersMatch(a.fVirt)) continue;
        // An accelerator's command carries 1 in the high word of wParam.
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

static const ResImage* FindImage(const std::vector<ResImage>& table, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const WORD id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    for (const ResImage& image : table)
        if (image.id == id) return &image;
    return nullptr;
}

static HICON LoadIconFile(const ResImage* image) {
    if (!image) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const std::string path = fs::InstallationPath(image->file);
    SDL_Surface* surface = SDL_LoadBMP(path.c_str());
    if (!surface) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto icon = std::make_unique<HICON__>();
    icon->surface = surface;
    W32().icons.push_back(std::move(icon));
    return W32().icons.back().get();
}

HICON LoadIconA(HINSTANCE, LPCSTR name) { return LoadIconFile(FindImage(Win32ProgramResources().icons, name)); }

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int, int, UINT) {
    // Icons are shown at whatever size the window system asks for; one picture serves.
    if (type == IMAGE_ICON) return LoadIconFile(FindImage(Win32ProgramResources().icons, name));
    if (type == IMAGE_BITMAP) return LoadIconFile(FindImage(Win32ProgramResources().bitmaps, name));
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

// A system cursor is one shared handle, however often it is loaded.
HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const auto id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    for (const auto& known : W32().cursors)
        if (known->id == id) return known.get();
    auto cursor = std::make_unique<HCURSOR__>();
    cursor->id = id;
    W32().cursors.push_back(std::move(cursor));
    return W32().cursors.back().get();
}

namespace {

SDL_SystemCursor SystemCursorOf(WORD id) {
    switch (id) {
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

}  // namespace

HCURSOR SetCursor(HCURSOR cursor) {
    Win32State& s = W32();
    HCURSOR previous = std::exchange(s.currentCursor, cursor);
    if (!s.videoUp) return previous;
    if (!cursor) {
        SDL_ShowCursor(SDL_DISABLE);
        return previous;
    }
    if (!cursor->system) cursor->system = SDL_CreateSystemCursor(SystemCursorOf(cursor->id));
    if (cursor->system) SDL_SetCursor(cursor->system);
    SDL_ShowCursor(SDL_ENABLE);
    return previous;
}
