// Reading scene scripts: words and tags, slots, operands, the report and the failures.
#include <gtest/gtest.h>

#include "content/scene_script.h"
#include "platform/win32/win32_test.h"
#include "tests/content/script_file.h"

namespace {

class ScriptReading : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
    }
    static const std::vector<win32test::RecordedMessageBox>& Boxes() { return win32test::RecordedMessageBoxes(); }
};

}  // namespace

TEST_F(ScriptReading, ReportsBackgroundCountLastWordAndLine) {
    ScriptFile file("# sky and two objects\n<Img> bgr\\sky01.bmp\n<Fog> 1 20 90\n<Col> 0.2 0.2 0.4\n"
                    "<Obj> xda\\bas\\cube.x\n<Col> 1 0.1 0.1\n<Pos> 0 0 10\n<Rot> 0 1 0 0.05\n<Lig> 1\n"
                    "<Col> 1 1 1\n<Pos> 0 10 0\n<End>\n");
    ASSERT_TRUE(ReadSceneScript(nullptr, file.c_str(), true));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Background: bgr\\sky01.bmp\nRead: 3 object\nName: <End>\nLine: 12");
    EXPECT_EQ(Boxes()[0].caption, "VLScript Report");
    EXPECT_EQ(Boxes()[0].type, MB_OK);
}

// Tags are whole, case-sensitive words; a comment word counts a line and the words after it
// are still read; <Img> after an object is an ordinary word; attributes before the first
// object go to slot 0.
TEST_F(ScriptReading, ClassifiesWordsWhole) {
    ScriptFile file("<Img> bgr\\sky01.bmp <MTx> early.bmp\n<obj> lower.x\n<Obj>ufo.x\n# put <Obj> here\n"
                    "<Img> late.bmp\n<End>");
    ASSERT_TRUE(ReadSceneScript(nullptr, file.c_str(), true));
    EXPECT_EQ(Boxes().at(0).text, "Background: bgr\\sky01.bmp\nRead: 2 object\nName: <End>\nLine: 6");
    EXPECT_STREQ(pendingScript->slots[0].meshTexture, "early.bmp");
    EXPECT_STREQ(pendingScript->slots[1].meshFile, "here");
}

// Operands may spread over lines; paths are read whole and count 16 lines more than their tag.
TEST_F(ScriptReading, ReadsOperandsAcrossLinesAndWholePaths) {
    std::string points;
    for (int i = 0; i < 16; ++i) points += std::to_string(i) + " 0\n" + std::to_string(-i) + "\n";
    ScriptFile file("<Mvp>\n" + points + "<Flp>\n" + points + "<Cam> 1\n5\n6 7\n<End>\n");
    ASSERT_TRUE(ReadSceneScript(nullptr, file.c_str(), true));
    EXPECT_EQ(Boxes().at(0).text, "Background: \nRead: 1 object\nName: <End>\nLine: 36");
    EXPECT_EQ(movePathCount + flyPathCount, 32);
    EXPECT_FLOAT_EQ(pendingScript->movePath[15].z, -15.0f);
    EXPECT_FLOAT_EQ(pendingScript->flyPath[15].x, 15.0f);
    EXPECT_FLOAT_EQ(pendingScript->cameraZ, 7.0f);
}

// 50 objects and <End> fill every slot and end the reading; a 51st object ends it before a
// later <End>; a second <End> counts again.
TEST_F(ScriptReading, NumbersSlotsUpToFifty) {
    std::string lights;
    for (int i = 0; i < 50; ++i) lights += "<Lig> 2\n";
    ScriptFile full(lights + "<End>\n<Fog> 1 2 3\n"), over(lights + "<Obj> a.x\n<End>\n");
    ASSERT_TRUE(ReadSceneScript(nullptr, full.c_str(), false));
    EXPECT_EQ(slotCount, 51);
    EXPECT_EQ(pendingScript->slots[50].lightType, 2);
    EXPECT_EQ(pendingScript->fogOn, 0);
    EXPECT_TRUE(ReadSceneScript(nullptr, over.c_str(), false));
    EXPECT_FALSE(pendingScript);

    ScriptFile twice("<End> <Obj> a.x <End>");
    ASSERT_TRUE(ReadSceneScript(nullptr, twice.c_str(), false));
    EXPECT_EQ(slotCount, 3);
    EXPECT_STREQ(pendingScript->slots[2].meshFile, "a.x");
}

// Over-long names and words are cut to their fields, their tails never read as words; a
// number that does not convert leaves the rest of the script to be read.
TEST_F(ScriptReading, ContainsBadInput) {
    const std::string longName(60, 'n');
    ScriptFile file("<Fly> fly.x <Img> " + longName + " " + std::string(99, 'w') + "<End> <Obj> " + longName +
                    "\n<Pos> 1 x 3 <Col> 0.5 0.5 0.5\n" + std::string(1 << 20, 'z') + " <End>");
    ASSERT_TRUE(ReadSceneScript(nullptr, file.c_str(), false));
    const SceneScript& s = *pendingScript;
    EXPECT_EQ(slotCount, 2);
    EXPECT_EQ(s.background, longName.substr(0, 39));
    EXPECT_STREQ(s.flyModel, "fly.x");
    EXPECT_EQ(s.slots[1].meshFile, longName.substr(0, 39));
    EXPECT_FLOAT_EQ(s.slots[1].position[0], 1.0f);
    EXPECT_FLOAT_EQ(s.slots[1].color[2], 0.5f);
}

TEST_F(ScriptReading, FailuresLeaveNothingPending) {
    ScriptFile good("<End>"), none("<Obj> a.x\n");
    ASSERT_TRUE(ReadSceneScript(nullptr, good.c_str(), false));
    EXPECT_FALSE(ReadSceneScript(nullptr, "no\\such.txt", false));
    EXPECT_EQ(slotCount, 0);
    EXPECT_FALSE(pendingScript);
    EXPECT_TRUE(ReadSceneScript(nullptr, none.c_str(), false));
    EXPECT_TRUE(Boxes().empty());

    EXPECT_FALSE(ReadSceneScript(nullptr, none.c_str(), true));
    EXPECT_FALSE(ReadSceneScript(nullptr, "no\\such.txt", true));
    ASSERT_EQ(Boxes().size(), 2u);
    for (const auto& box : Boxes()) EXPECT_EQ(box.text + box.caption, "No VLScript ReportVirelux Report");
}
