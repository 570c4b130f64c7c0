// The choice of the 3D driver from the devices the system lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

// Which driver is chosen: hardware before software, then the first mono one; only drivers
// for the display's depth are kept, their names cut to the table.
TEST_F(Drivers, TheChoiceFollowsKindThenColourModel) {
    const std::string longName(80, 'x');
    const struct {
        std::vector<FakeDevice> devices;
        int count, chosen;
        BYTE hardware, mono;
    } cases[] = {
        {{Device("soft mono", false, D3DCOLOR_MONO), Device("hard rgb", true, D3DCOLOR_RGB)}, 2, 1, 1, 0},
        {{Device("hard rgb", true, D3DCOLOR_RGB), Device("soft mono", false, D3DCOLOR_MONO)}, 2, 0, 1, 0},
        {{Device("hard rgb", true, D3DCOLOR_RGB), Device("hard mono", true, D3DCOLOR_MONO),
          Device("hard mono 2", true, D3DCOLOR_MONO), Device("soft mono", false, D3DCOLOR_MONO)}, 4, 1, 1, 1},
        {{Device("16 only", true, D3DCOLOR_RGB, DDBD_16), Device(longName.c_str(), false, D3DCOLOR_RGB, DDBD_32)}, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        driverCount = 0;
        ASSERT_TRUE(Enumerate(c.devices));
        EXPECT_EQ(driverCount, c.count);
        EXPECT_EQ(currentDriver, c.chosen);
        EXPECT_EQ(currentIsHardware, c.hardware);
        EXPECT_EQ(currentIsMono, c.mono);
    }
    EXPECT_EQ(std::strlen(driverNames[0]), 49u);
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

// Choosing the current driver does nothing; a switch that cannot rebuild (no client area) is
// reported and keeps the old choice; the show goes on with the old device (a new scene and a
// resize build on it) and a later switch rebuilds device and viewport and moves the check mark.
TEST_F(DriverChoice, AfterAFailedSwitchTheShowGoesOnWithTheOldDevice) {
    ASSERT_EQ(driverCount, 2);
    Ref<IDirect3DRMDevice3> before = appState->device;   // held: a rebuilt one cannot take its address
    win32test::ChooseMenuItem(window, 80);
    ShowWindow(window, SW_MINIMIZE);
    Settle();
    EXPECT_EQ(appState->device.get(), before.get());
    win32test::ChooseMenuItem(window, 81);
    Settle();
    EXPECT_EQ(currentDriver, 0);
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "A failure occurred while rebuilding the viewport.\n");
    EXPECT_EQ(boxes[0].caption, "Virelux Message");
    ASSERT_TRUE(appState->device);
    ShowWindow(window, SW_RESTORE);
    win32test::ChooseMenuItem(window, IDM_SCENE_WITH_LIGHTS);
    MoveWindow(window, 0, 0, 400, 300, TRUE);
    Settle();
    ASSERT_TRUE(appState->viewport);
    EXPECT_EQ(appState->quitRequested, 0);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(static_cast<LONG>(appState->device->GetWidth()), client.right);
    EXPECT_EQ(static_cast<LONG>(appState->viewport->GetHeight()), client.bottom);
    EXPECT_EQ(boxes.size(), 1u);

    before = appState->device;
    win32test::ChooseMenuItem(window, 81);
    Settle();
    EXPECT_EQ(currentDriver, 1);
    EXPECT_NE(appState->device.get(), before.get());
    EXPECT_EQ(appState->viewport->GetWidth(), static_cast<DWORD>(client.right));
    win32test::OpenMenuPopup(window, {1});
    HMENU functions = GetSubMenu(GetMenu(window), 1);
    EXPECT_EQ(GetMenuState(functions, 81, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(functions, 80, MF_BYCOMMAND) & MF_CHECKED, 0u);
}
