// The main window's class and creation parameters, and the lookup of a running copy.
#pragma once

#include "platform/win32/win32.h"

// Describes and registers the window class "VLXClass" (name from string 107, icon 113,
// menu 107, the main window procedure).
class WinClassDef {
public:
    explicit WinClassDef(HINSTANCE instance);
    // RegisterClassExA; on failure shows "RegisterClassEx failed" and start-up goes on.
    void Register();
    const char* ClassName() const { return className_; }
    const WNDCLASSEXA& Info() const { return info_; }

private:
    WNDCLASSEXA info_;
    char className_[256] = "";
};

// The CreateWindowExA parameters of the main window (320 x 320, visible, titled) and the
// window made from them.
class WinCreateDef {
public:
    WinCreateDef(HINSTANCE instance, const char* title);
    // Creates the window, then its clipper and the display depth. False, without a
    // message, when any of them fails.
    bool Create();
    HWND Window() const { return window_; }

private:
    HINSTANCE instance_;
    const char* title_;
    char className_[256] = "";
    HWND window_ = nullptr;
};

// A window of the class that another copy of the program shows (its active popup if it has
// one), or nullptr.
HWND FindRunningInstance(const char* className);
