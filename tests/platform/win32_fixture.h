// A window of a test class in no-window-system mode, whose procedure records every message.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win32/win32.h"
#include "platform/win32/win32_test.h"
#include "tests/support/xvfb_server.h"

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Seen>& SeenMessages() {
    static std::vector<Seen> seen;
    return seen;
}

inline LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SeenMessages().push_back({message, wParam, lParam});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class HeadlessWindow : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        WNDCLASSEXA wc;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "TestClass";
        wc.lpszMenuName = MAKEINTRESOURCEA(7);
        ASSERT_NE(RegisterClassExA(&wc), 0);
        hwnd = CreateWindowExA(0, "TestClass", "A title", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, 0, 320, 320,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        SeenMessages().clear();
    }

    // Retrieves and dispatches every waiting message; returns what was retrieved.
    std::vector<MSG> Drain() {
        std::vector<MSG> got;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            got.push_back(msg);
            DispatchMessageA(&msg);
        }
        return got;
    }

    // Handles what waits (the first paint) and forgets what the procedure saw so far.
    void Settle() {
        Drain();
        SeenMessages().clear();
    }

    // The messages of one kind that were retrieved.
    static std::vector<MSG> Only(const std::vector<MSG>& all, UINT message) {
        std::vector<MSG> some;
        for (const MSG& m : all)
            if (m.message == message) some.push_back(m);
        return some;
    }

    HWND hwnd = nullptr;
};

// Starts a private X server in `xvfb` and shows a `width` x `height` window of a new class
// `className` with procedure `proc` on it. Null when the class or window could not be made.
inline HWND OpenXWindow(std::unique_ptr<vlx_test::XvfbServer>& xvfb, const char* className, WNDPROC proc, int width,
                        int height) {
    xvfb = std::make_unique<vlx_test::XvfbServer>();
    setenv("DISPLAY", xvfb->Display().c_str(), 1);
    WNDCLASSEXA wc;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    if (RegisterClassExA(&wc) == 0) return nullptr;
    return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, nullptr, nullptr);
}
