// The choice of the 3D driver from the devices the system lists.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3drm/d3drm_test.h"
#include "platform/win32/win32_test.h"
#include "render3d/driver.h"

namespace {

using d3drmtest::FakeDevice;

class Drivers : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        displayBitDepth = 32;
        driverCount = 0;
        menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(107));
        ASSERT_NE(menu, nullptr);
        functions = GetSubMenu(menu, 1);
    }
    void TearDown() override { DestroyMenu(menu); }
    bool Enumerate(std::vector<FakeDevice> devices) {
        d3drmtest::SetFakeDevices(std::move(devices));
        return EnumerateDrivers(functions);
    }
    static FakeDevice Device(const char* name, bool hardware, D3DCOLORMODEL model, DWORD depths = DDBD_16 | DDBD_32) {
        return FakeDevice{name, hardware, model, depths, ""};
    }

    HMENU menu = nullptr;
    HMENU functions = nullptr;
};

}  // namespace

TEST_F(Drivers, HardwareComesBeforeSoftware) {
    ASSERT_TRUE(Enumerate({Device("soft mono", false, D3DCOLOR_MONO), Device("hard rgb", true, D3DCOLOR_RGB)}));
    EXPECT_EQ(driverCount, 2);
    EXPECT_EQ(currentDriver, 1);
    EXPECT_EQ(currentIsHardware, 1);
    EXPECT_EQ(currentIsMono, 0);
}

TEST_F(Drivers, MonoComesBeforeRgbWithinAKind) {
    ASSERT_TRUE(Enumerate({Device("hard rgb", true, D3DCOLOR_RGB), Device("hard mono", true, D3DCOLOR_MONO),
                           Device("hard mono 2", true, D3DCOLOR_MONO), Device("soft mono", false, D3DCOLOR_MONO)}));
    EXPECT_EQ(currentDriver, 1);   // the first mono one; ties keep the earlier driver
    EXPECT_EQ(currentIsMono, 1);
}

TEST_F(Drivers, AtMostFiveAreKeptAndListedAtTheEndOfTheMenu) {
    std::vector<FakeDevice> many;
    for (int i = 0; i < 7; ++i) many.push_back(Device(i == 6 ? "sixth hardware" : "soft", i == 6, D3DCOLOR_RGB));
    const int itemsBefore = GetMenuItemCount(functions);
    ASSERT_TRUE(Enumerate(many));
    EXPECT_EQ(driverCount, 5);
    EXPECT_EQ(currentDriver, 0);   // the hardware driver came too late to be seen
    ASSERT_EQ(GetMenuItemCount(functions), itemsBefore + 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(GetMenuItemID(functions, itemsBefore + i), static_cast<UINT>(80 + i));
}

TEST_F(Drivers, OnlyDriversForTheDisplayDepthAreKept) {
    ASSERT_TRUE(Enumerate({Device("16 only", true, D3DCOLOR_RGB, DDBD_16), Device("32", false, D3DCOLOR_RGB, DDBD_32)}));
    EXPECT_EQ(driverCount, 1);
    EXPECT_STREQ(driverNames[0], "32");
}

TEST_F(Drivers, AFifteenBitDisplayFindsNone) {
    displayBitDepth = 15;
    EXPECT_FALSE(Enumerate({Device("any", true, D3DCOLOR_RGB, 0xFFFF)}));
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text,
              "Could not find a D3D driver which is compatible with this display depth");
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].caption, "Virelux Message");
}

// A driver that renders at no depth at all says why; the user reads it under the message.
TEST_F(Drivers, UnusableDriverTellsWhyUnderTheNoDriverMessage) {
    FakeDevice old = Device("old", true, D3DCOLOR_RGB, 0);
    old.unusable = "OpenGL 3.3 is needed; this display offers OpenGL 3.0.";
    EXPECT_FALSE(Enumerate({old}));
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text,
              "Could not find a D3D driver which is compatible with this display depth\n\n"
              "OpenGL 3.3 is needed; this display offers OpenGL 3.0.");
}

TEST_F(Drivers, LongNamesAreCutToTheTable) {
    const std::string longName(80, 'x');
    ASSERT_TRUE(Enumerate({Device(longName.c_str(), true, D3DCOLOR_RGB)}));
    EXPECT_EQ(std::strlen(driverNames[0]), 49u);
}

TEST(DepthFlags, FollowTheDisplayDepth) {
    EXPECT_EQ(DepthToRenderFlags(16), DDBD_16);
    EXPECT_EQ(DepthToRenderFlags(24), DDBD_24);
    EXPECT_EQ(DepthToRenderFlags(32), DDBD_32);
    EXPECT_EQ(DepthToRenderFlags(8), DDBD_8);
    EXPECT_EQ(DepthToRenderFlags(15), 0u);
}

// Choosing a driver from the menu of the running show.
#include "tests/app/headless_show.h"

class DriverChoice : public HeadlessShow {
protected:
    void SetUp() override {
        d3drmtest::SetFakeDevices({FakeDevice{"first", true, D3DCOLOR_RGB, DDBD_32, ""}, FakeDevice{"second", true, D3DCOLOR_RGB, DDBD_32, ""}});
        driverCount = 0;
        HeadlessShow::SetUp();
        Settle();
    }
};

TEST_F(DriverChoice, AnotherDriverRebuildsDeviceAndViewport) {
    ASSERT_EQ(driverCount, 2);
    ASSERT_EQ(currentDriver, 0);
    IDirect3DRMDevice3* before = appState->device.get();
    win32test::ChooseMenuItem(window, 81);
    Settle();
    EXPECT_EQ(currentDriver, 1);
    EXPECT_NE(appState->device.get(), before);
    EXPECT_EQ(appState->viewport->GetWidth(), 320u);
    win32test::OpenMenuPopup(window, {1});
    HMENU functions = GetSubMenu(GetMenu(window), 1);
    EXPECT_EQ(GetMenuState(functions, 81, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(functions, 80, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(DriverChoice, TheCurrentDriverDoesNothing) {
    IDirect3DRMDevice3* before = appState->device.get();
    win32test::ChooseMenuItem(window, 80);
    Settle();
    EXPECT_EQ(appState->device.get(), before);
}

TEST_F(DriverChoice, AFailedRebuildIsReportedAndTheOldChoiceKept) {
    ShowWindow(window, SW_MINIMIZE);   // no client area: no device can be made for it
    Settle();
    win32test::ChooseMenuItem(window, 81);
    Settle();
    EXPECT_EQ(currentDriver, 0);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "A failure occurred while rebuilding the viewport.\n");
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].caption, "Virelux Message");
}

TEST_F(DriverChoice, AfterAFailedSwitchTheShowGoesOnWithTheOldDevice) {
    ShowWindow(window, SW_MINIMIZE);
    Settle();
    win32test::ChooseMenuItem(window, 81);
    Settle();
    ASSERT_TRUE(appState->device);
    ShowWindow(window, SW_RESTORE);
    Settle();
    // A new scene and a resize both build on the device the failed switch left.
    win32test::ChooseMenuItem(window, IDM_SCENE_WITH_LIGHTS);
    Settle();
    ASSERT_TRUE(appState->viewport);
    MoveWindow(window, 0, 0, 400, 300, TRUE);
    Settle();
    EXPECT_EQ(appState->quitRequested, 0);
    RECT client;
    GetClientRect(window, &client);
    ASSERT_TRUE(appState->device);
    EXPECT_EQ(static_cast<LONG>(appState->device->GetWidth()), client.right);
    EXPECT_EQ(static_cast<LONG>(appState->viewport->GetHeight()), client.bottom);
    EXPECT_EQ(win32test::RecordedMessageBoxes().size(), 1u);   // the failed switch's only
}

// Rebuilding takes the fog switch from the scene and puts the shared fog range back on it.
TEST_F(DriverChoice, ARebuildReadsTheFogSwitchAndRestoresTheSharedRange) {
    // A script's fog, then the scene's own range and switch changed behind the settings.
    fogEnable = 1;
    fogStart = 10.0f;
    fogEnd = 60.0f;
    win32test::ChooseMenuItem(window, IDM_SCENE_WITH_LIGHTS);
    Settle();
    appState->scene->SetSceneFogParams(5.0f, 7.0f, 1.0f);
    appState->scene->SetSceneFogEnable(FALSE);
    ASSERT_TRUE(RebuildViewport(window, 200, 100));
    EXPECT_EQ(fogEnable, FALSE);
    D3DVALUE start = 0, end = 0;
    appState->scene->GetSceneFogParams(&start, &end, nullptr);
    EXPECT_FLOAT_EQ(start, 10.0f);
    EXPECT_FLOAT_EQ(end, 60.0f);
}
