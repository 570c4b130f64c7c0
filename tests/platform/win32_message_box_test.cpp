// Message boxes in recorded-interaction mode: what was shown, and the default answers.
#include "tests/platform/win32_fixture.h"

using MessageBoxes = HeadlessWindow;

TEST_F(MessageBoxes, AreRecordedWithOwnerTextCaptionAndStyle) {
    win32test::ClearRecordedMessageBoxes();
    EXPECT_EQ(MessageBoxA(nullptr, "Something failed.\nTwice.", "Report", MB_ICONHAND), IDOK);
    EXPECT_EQ(MessageBoxA(hwnd, "Please press a key", "Note", MB_OK), IDOK);
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "Something failed.\nTwice.");
    EXPECT_EQ(boxes[0].caption, "Report");
    EXPECT_EQ(boxes[0].type, MB_ICONHAND);
    EXPECT_EQ(boxes[1].owner, hwnd);
}

TEST_F(MessageBoxes, AreAnsweredWithTheirDefaultButton) {
    EXPECT_EQ(MessageBoxA(hwnd, "?", "Q", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(hwnd, "?", "Q", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(hwnd, "?", "Q", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(MessageBoxA(hwnd, "?", "Q", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
    // A default past the box's buttons falls back to the first.
    EXPECT_EQ(MessageBoxA(hwnd, "?", "Q", MB_OK | MB_DEFBUTTON3), IDOK);
    EXPECT_EQ(win32test::RecordedMessageBoxes().back().answer, IDOK);
}
