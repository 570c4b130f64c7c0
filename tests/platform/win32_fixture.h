// A window of a test class in no-window-system mode, whose procedure records every message.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32.h"
#include "platform/win32/win32_test.h"

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
