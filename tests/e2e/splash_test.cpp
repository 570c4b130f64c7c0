// The start-up splash over the demo tune, on a desktop with a sound server: the picture shows
// while the tune plays and capture already records behind it; Esc silences the tune, a click
// on the picture lets it play on.
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

class E2eSplash : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        StartDisplay();
        program_ = StartProgram();
        const std::optional<XWindowId> main = x_->WaitForWindow(kWindowTitle, kPatience);
        ASSERT_TRUE(main) << "no main window; stderr:\n" << program_->Stderr();
        window_ = *main;
        ASSERT_TRUE(WaitUntil([&] { return (splash_ = OnlyBox()) != 0; }, kPatience))
            << "no splash over the main window; stderr:\n" << program_->Stderr();
    }
    // The one window of the program besides the main one; 0 when there is none or more.
    XWindowId OnlyBox() {
        std::vector<XWindowId> boxes = x_->ViewableWindowsOf(program_->Pid());
        std::erase(boxes, window_);
        return boxes.size() == 1 ? boxes[0] : 0;
    }
    bool WaitForNoBox() {
        return WaitUntil([&] {
            std::vector<XWindowId> boxes = x_->ViewableWindowsOf(program_->Pid());
            std::erase(boxes, window_);
            return boxes.empty();
        }, kPatience);
    }
    // The share of the splash picture's pixels that the box shows, centred in it (within a
    // pixel or two: the picture is centred in its frame, which the template places).
    double ShowsSplashPicture() {
        const Image picture = InstalledPicture("res/splash.bmp");
        const std::optional<Image> box = x_->Capture(splash_);
        if (picture.pixels.empty() || !box || box->width < picture.width + 4 || box->height < picture.height + 4) return 0.0;
        int best = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const int left = (box->width - picture.width) / 2 + dx, top = (box->height - picture.height) / 2 + dy;
                int same = 0;
                for (int y = 0; y < picture.height; ++y)
                    for (int x = 0; x < picture.width; ++x) same += Near(box->At(left + x, top + y), picture.At(x, y), 16);
                best = std::max(best, same);
            }
        return static_cast<double>(best) / static_cast<double>(picture.pixels.size());
    }
    void CloseShow() {
        x_->Close(window_);
        EXPECT_EQ(program_->Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << program_->Stderr();
    }

    std::unique_ptr<Process> program_;
    XWindowId window_ = 0;
    XWindowId splash_ = 0;
};

TEST_F(E2eSplash, ShowsWhileTheTunePlaysAndCaptureRecordsAndEscSilencesTheTune) {
    double shown = 0.0;
    EXPECT_TRUE(WaitUntil([&] { return (shown = ShowsSplashPicture()) > 0.95; }, kPatience))
        << "the box shows only " << shown << " of the splash picture";
    EXPECT_TRUE(WaitUntil([&] { return pulse_->ClientHasStream("sink-inputs"); }, kPatience)) << "the tune does not play";
    EXPECT_TRUE(WaitUntil([&] { return pulse_->ClientHasStream("source-outputs"); }, kPatience))
        << "capture did not start behind the splash";
    EXPECT_EQ(OnlyBox(), splash_) << "the splash closed on its own";

    PressKey(splash_, "Escape");
    EXPECT_TRUE(WaitForNoBox()) << "Esc did not close the splash";
    EXPECT_TRUE(WaitUntil([&] { return !pulse_->ClientHasStream("sink-inputs"); }, kPatience)) << "the tune plays on";
    EXPECT_TRUE(pulse_->ClientHasStream("source-outputs")) << "capture stopped with the tune";
    CloseShow();
}

TEST_F(E2eSplash, AClickOnThePictureClosesItAndTheTunePlaysOn) {
    ASSERT_TRUE(WaitUntil([&] { return ShowsSplashPicture() > 0.95; }, kPatience));
    ASSERT_TRUE(WaitUntil([&] { return pulse_->ClientHasStream("sink-inputs"); }, kPatience)) << "the tune does not play";
    Xdotool({"mousemove", "--window", std::to_string(splash_), "205", "140", "click", "1"});
    EXPECT_TRUE(WaitForNoBox()) << "the click did not close the splash";
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program_, &window_));
    EXPECT_TRUE(pulse_->ClientHasStream("sink-inputs")) << "the tune stopped with the splash";
    CloseShow();
}

}  // namespace
}  // namespace vlx_test
