// One per main window: the window code's handler of its commands. It owns the recording
// thread and the band counters, checks for a sound card when the window is made, and handles
// the window's menu commands (menu_commands.cpp).
#pragma once

#include <cstdint>

#include "platform/win32/win32.h"
#include "sound/capture_thread.h"

class Controller {
public:
    // Checks the sound hardware: with a usable card it posts the start-up demo (command 10)
    // and the start of capture (411) to the window; otherwise it says so.
    explicit Controller(HWND hwnd);
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // The window's menu and internal commands (menu_commands.cpp).
    void OnCommand(WORD commandId);

    HWND hwnd;
    std::uint32_t bandSums[3] = {0, 0, 0};   // written by the recording thread only
    CaptureThread captureThread;
};
