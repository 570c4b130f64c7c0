// The Render Box: what it opens with, how its sliders step and map to fog and material, the
// fog switch's hold on the fog sliders, and what Cancel puts back.
#include "render3d/render_quality.h"
#include "tests/ui/box_fixture.h"

using RenderBox = Boxes;

TEST_F(RenderBox, OpensOnTheStartUpStateAndStepsEachSliderWithinItsRange) {
    Settle();
    Open(IDM_RENDERER, "RenBox", [](HWND box) {
        EXPECT_TRUE(Checked(box, IDC_REN_SOLID) && Checked(box, IDC_REN_GOURAUD));
        EXPECT_FALSE(Checked(box, IDC_REN_POINTS) || Checked(box, IDC_REN_FLAT) || Checked(box, IDC_REN_PHONG));
        EXPECT_TRUE(Checked(box, IDC_REN_DITHER) && Checked(box, IDC_REN_FILTER) && Checked(box, IDC_REN_FOG));
        EXPECT_EQ(Text(box, IDC_REN_FOG_START_TEXT), " 30");
        EXPECT_EQ(Text(box, IDC_REN_FOG_END_TEXT), "100");
        EXPECT_EQ(Position(box, IDC_REN_FOG_START), 30);
        EXPECT_EQ(Position(box, IDC_REN_FOG_END), 100);
        EXPECT_EQ(Text(box, IDC_REN_FOG_RED_TEXT), " 32");   // the main scene's fog colour
        EXPECT_EQ(Position(box, IDC_REN_FOG_BLUE), 128);
        EXPECT_EQ(Text(box, IDC_REN_POWER_TEXT), "80.000");

        // Line 1, page 11, thumb; the ends stop each bar at 0 and its own maximum. Fog
        // sliders act on the scene at once.
        win32test::Scroll(box, IDC_REN_FOG_START, SB_PAGERIGHT);
        EXPECT_EQ(Text(box, IDC_REN_FOG_START_TEXT), " 41");
        win32test::Scroll(box, IDC_REN_FOG_END, SB_THUMBTRACK, 195);
        win32test::Scroll(box, IDC_REN_FOG_END, SB_PAGERIGHT);
        EXPECT_EQ(Position(box, IDC_REN_FOG_END), 200);
        win32test::Scroll(box, IDC_REN_FOG_END, SB_LINELEFT);
        D3DVALUE start = 0, end = 0, density = 0;
        appState->scene->GetSceneFogParams(&start, &end, &density);
        EXPECT_TRUE(start == 41.0f && end == 199.0f && density == 1.0f);
        win32test::Scroll(box, IDC_REN_FOG_RED, SB_RIGHT);
        EXPECT_EQ(Text(box, IDC_REN_FOG_RED_TEXT), "255");
        EXPECT_EQ(appState->scene->GetSceneFogColor() & 0xFFFFFF, 0xFF4080u);

        // The material runs from 0.001 to 1.0 and from 1.0 to 100.0.
        win32test::Scroll(box, IDC_REN_EMISSIVE, SB_LEFT);
        EXPECT_EQ(Text(box, IDC_REN_EMISSIVE_TEXT), "0.001");
        win32test::Scroll(box, IDC_REN_SPECULAR, SB_RIGHT);
        EXPECT_EQ(Text(box, IDC_REN_SPECULAR_TEXT), "1.000");
        win32test::Scroll(box, IDC_REN_POWER, SB_LEFT);
        EXPECT_EQ(defaultMaterial.power, 1.0f);
        win32test::Scroll(box, IDC_REN_POWER, SB_RIGHT);
        EXPECT_EQ(Text(box, IDC_REN_POWER_TEXT), "100.000");
        EXPECT_EQ(Position(box, IDC_REN_POWER), 100);

        win32test::ClickControl(box, IDC_REN_WIRE);
        EXPECT_EQ(fillChoice, 1);
        win32test::ClickControl(box, IDC_REN_PHONG);
        EXPECT_EQ(shadeChoice, 6);
        win32test::ClickControl(box, IDOK);
    });
    ASSERT_EQ(win32test::RecordedDialogs().size(), 1u);
    EXPECT_EQ(win32test::RecordedDialogs()[0].result, 1);
    // OK keeps what was set.
    EXPECT_TRUE(fogStart == 41.0f && fogEnd == 199.0f && fogColor[0] == 255);
    EXPECT_TRUE(defaultMaterial.emissive == 0.001f && defaultMaterial.specular == 1.0f);
    EXPECT_EQ(defaultMaterial.power, 100.0f);
}

TEST_F(RenderBox, FogOffLocksTheFogSlidersAndCancelRestoresValuesButNotTheScene) {
    Settle();
    Open(IDM_RENDERER, "RenBox", [](HWND box) {
        win32test::Scroll(box, IDC_REN_FOG_GREEN, SB_THUMBPOSITION, 200);
        win32test::Scroll(box, IDC_REN_EMISSIVE, SB_RIGHT);
        win32test::ClickControl(box, IDC_REN_FOG);
        EXPECT_EQ(fogEnable, 0);
        EXPECT_EQ(appState->scene->GetSceneFogEnable(), FALSE);

        for (int bar : {IDC_REN_FOG_START, IDC_REN_FOG_END, IDC_REN_FOG_RED, IDC_REN_FOG_GREEN, IDC_REN_FOG_BLUE}) {
            const int before = Position(box, bar);
            win32test::Scroll(box, bar, SB_PAGERIGHT);
            EXPECT_EQ(Position(box, bar), before) << bar;
        }
        EXPECT_EQ(Reports(box, "Fog not turned on!"), 5);
        EXPECT_EQ(fogStart, 30.0f);
        // The material does not depend on fog.
        win32test::Scroll(box, IDC_REN_EMISSIVE, SB_LINELEFT);
        EXPECT_EQ(Text(box, IDC_REN_EMISSIVE_TEXT), "0.990");
        win32test::ClickControl(box, IDCANCEL);
    });
    EXPECT_EQ(win32test::RecordedDialogs().back().result, 0);
    // The settings go back, the scene keeps the colour it was shown, the switch stays off.
    EXPECT_EQ(fogColor[1], 64);
    EXPECT_EQ(defaultMaterial.emissive, 0.1f);
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0xFFFFFF, 0x20C880u);
    EXPECT_EQ(fogEnable, 0);
}
