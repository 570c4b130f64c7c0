// Start-up: the window's menu and drivers, the first scene and the failures it reports (the
// window's title and size and the second copy are tested end to end).
#include "render3d/driver.h"
#include "tests/app/headless_show.h"

using StartUp = HeadlessShow;

TEST_F(StartUp, MakesTheWindowWithItsMenuAndDriversAndTheMainSceneAtItsStart) {
    HMENU functions = GetSubMenu(GetMenu(window), 1);
    ASSERT_NE(functions, nullptr);
    char text[64] = "";
    GetMenuStringA(functions, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Select box");
    // The driver entries follow the popup's own items.
    const int count = GetMenuItemCount(functions);
    EXPECT_EQ(count, 3 + driverCount);
    EXPECT_EQ(GetMenuItemID(functions, count - driverCount), 80u);
    // Popups within popups keep their items: Scene > Set Scene ends with the main scene.
    HMENU setScene = GetSubMenu(GetSubMenu(GetMenu(window), 0), 0);
    ASSERT_NE(setScene, nullptr);
    EXPECT_EQ(GetMenuItemID(setScene, 3), static_cast<UINT>(IDM_MAIN_SCENE));

    // The main scene is seen through a camera at its start.
    ASSERT_TRUE(appState->scene && appState->camera && appState->viewport && appState->device);
    D3DVECTOR position;
    appState->camera->GetPosition(appState->scene.get(), &position);
    EXPECT_FLOAT_EQ(position.z, -50.0f);
    EXPECT_FLOAT_EQ(position.y, 1.0f);
    EXPECT_FLOAT_EQ(appState->viewport->GetBack(), 5000.0f);
    EXPECT_EQ(appState->viewport->GetWidth(), 320u);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

// The start-up's reports: their texts, captions, icons and owners.
TEST_F(StartUp, FailuresAreReportedInTheirOwnWords) {
    char buffer[256] = "kept";
    LoadResString(buffer, instance, 9999);   // a missing string keeps the buffer
    EXPECT_STREQ(buffer, "kept");
    WinClassDef again(instance);
    again.Register();   // the class exists already; start-up goes on
    ReportError("Something went wrong.");
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    const struct {
        const char* text;
        UINT type;
    } expected[] = {{"Load String failed", MB_OK}, {"RegisterClassEx failed", MB_OK}, {"Something went wrong.", MB_ICONHAND}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes[i].text, expected[i].text);
        EXPECT_EQ(boxes[i].caption, "Virelux Report");
        EXPECT_EQ(boxes[i].type, expected[i].type) << expected[i].text;
        EXPECT_EQ(boxes[i].owner, nullptr);
    }

    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    try {
        OnOutOfMemory();
        FAIL() << "no exception";
    } catch (const WinException& e) {
        EXPECT_EQ(e.errorCode, ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_STREQ(e.message, "Memory Problem!");
    }
}

// The whole of WinMain, from nothing to the end of the loop.
TEST(WinMainRun, ReturnsTheStopCommandAfterACloseAndFreesTheAppState) {
    win32test::EnableNoWindowSystem();
    win32test::EnableRecordedInteraction();
    fs::SetInstallationFolder(VLX_INSTALL_DIR);
    InstallQuietSoundCard();
    win32test::InjectQuit();   // waiting before the window exists; taken by the loop's first pass
    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT), 412);
    EXPECT_EQ(appState, nullptr);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}
