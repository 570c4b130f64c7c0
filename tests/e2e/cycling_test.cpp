// The self-running show as a user drives it with the function keys: F7 steps to the next
// catalogue scene, F6 walks the background pictures, F8 the scenes, Esc stops. Each scene and
// step is recognised by its background picture in a band across the upper client area. Presents
// are not paced, so the thousand idle frames between automatic steps pass in seconds.
#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

class E2eCycling : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        StartDisplay();
    }
    // Waits until most of the upper band shows `picture`; a failure says how much it showed.
    void WaitForPicture(XWindowId window, const std::string& picture) {
        double shown = 0.0;
        WaitUntil(
            [&] {
                const std::optional<Image> image = x_->Capture(window);
                shown = image ? UpperBandShows(*image, picture) : 0.0;
                return shown > 0.7;
            },
            kPatience * 3, std::chrono::milliseconds(50));
        EXPECT_GT(shown, 0.7) << "the upper client area never showed " << picture;
    }
};

TEST_F(E2eCycling, F7StepsTheScenesF6ThePicturesF8TheScenesAgain) {
    std::unique_ptr<Process> program = StartProgram({{"PLATFORM_NO_PACING", "1"}});
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program, &window));
    const std::optional<Image> first = x_->Capture(window);
    ASSERT_TRUE(first);
    ASSERT_LT(UpperBandShows(*first, "bgr/sky01.bmp"), 0.3) << "the pictures must tell the scenes apart";

    // test1.txt (the night sky of the main scene), then scene00.txt before the dusk sky.
    PressKey(window, "F7");
    PressKey(window, "F7");
    WaitForPicture(window, "bgr/sky01.bmp");
    // The pictures from the first: the night sky, then the dusk sky again.
    PressKey(window, "F6");
    WaitForPicture(window, "bgr/bgnd.bmp");
    WaitForPicture(window, "bgr/sky01.bmp");
    // Esc stops the pictures; F8 goes on with the scenes where F7 left them: scene01.txt.
    PressKey(window, "Escape");
    PressKey(window, "F8");
    WaitForPicture(window, "bgr/sky02.bmp");
    PressKey(window, "Escape");
    EXPECT_TRUE(program->Running()) << program->Stderr();
}

}  // namespace
}  // namespace vlx_test
