// String, accelerator, icon and cursor resources, read from the tables the program defines.
// Implements: LoadStringA, LoadAcceleratorsA, TranslateAcceleratorA, LoadIconA, LoadImageA,
// LoadCursorA.
// Leaves out: the instance handle (every resource is the program's); accelerator tables by
// integer id, and accelerators on characters rather than virtual keys; LoadImageA's size and
// load flags and image types other than icons and bitmaps; LoadCursorA only records the
// cursor's id, it loads no picture and takes no named cursor.
#include <SDL.h>

#include <cstring>

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

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    auto cursor = std::make_unique<HCURSOR__>();
    cursor->id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    W32().cursors.push_back(std::move(cursor));
    return W32().cursors.back().get();
}
