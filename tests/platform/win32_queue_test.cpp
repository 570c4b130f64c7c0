// The message queue: the platform's order of posted messages, input, WM_PAINT and WM_QUIT.
#include "tests/platform/win32_fixture.h"

using Queue = HeadlessWindow;

TEST_F(Queue, PostedMessagesComeBeforeEarlierInputQuitAfterAllAndSentOnesAtOnce) {
    Settle();
    win32test::InjectKey(SDL_SCANCODE_A, SDLK_a, true);   // input first...
    PostMessageA(hwnd, WM_COMMAND, 412, 0);               // ...then a posted command
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_COMMAND);
    EXPECT_EQ(msg.wParam, 412u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);

    // WM_QUIT, with its exit code, comes after everything posted.
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // Sent messages reach the procedure at once, posted ones wait.
    Settle();
    PostMessageA(hwnd, WM_USER, 1, 0);
    SendMessageA(hwnd, WM_USER, 2, 0);
    ASSERT_EQ(SeenMessages().size(), 1u);
    EXPECT_EQ(SeenMessages()[0].wParam, 2u);
    Drain();
    ASSERT_EQ(SeenMessages().size(), 2u);
}

// WM_PAINT only when nothing else waits, until validated; UpdateWindow paints at once when invalid.
TEST_F(Queue, PaintOnlyWhenNothingElseWaitsAndUntilValidated) {
    Settle();
    UpdateWindow(hwnd);
    EXPECT_TRUE(SeenMessages().empty());
    InvalidateRect(hwnd, nullptr, FALSE);
    PostMessageA(hwnd, WM_USER, 1, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    // WM_PAINT stays in the queue while the window is invalid, whatever PM_REMOVE says.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    ASSERT_EQ(SeenMessages().size(), 1u);
    EXPECT_EQ(SeenMessages()[0].message, WM_PAINT);
}

TEST_F(Queue, ClassNamesIgnoreCaseAndADestroyedWindowGetsNoMoreMessages) {
    WNDCLASSEXA wc;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "testclass";   // class names ignore case
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(FindWindowA("TESTCLASS", nullptr), hwnd);
    EXPECT_EQ(FindWindowA("TestClass", "Other title"), nullptr);
    Settle();
    PostMessageA(hwnd, WM_USER, 1, 0);
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
}
