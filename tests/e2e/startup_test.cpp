// Start-up, the first frame, resizing and the ways a show ends normally.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

class E2eStartUpAndClose : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        StartDisplay();
    }
};

TEST_F(E2eStartUpAndClose, WindowShowsMenuBarOverBackgroundFollowsAResizeAndCloseEndsWith412) {
    std::unique_ptr<Process> program = StartProgram();
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program, &window));
    const std::optional<WindowGeometry> geometry = x_->Geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, kWindowSize);
    EXPECT_EQ(geometry->height, kWindowSize);

    // The first frame filled the whole client area, up to its edges: an image placed under the
    // menu bar, or sized to the window rather than the client area, leaves a strip uncovered.
    const std::optional<Image> image = x_->Capture(window);
    ASSERT_TRUE(image);
    EXPECT_EQ(StartUpSceneMismatch(*image), "");
    // The menu bar is drawn over the top: light grey around its item names.
    for (int y : {2, kMenuBarHeight - 4})
        for (int x : {2, image->width / 2, image->width - 3}) {
            const Rgb seen = image->At(x, y);
            EXPECT_TRUE(seen.r >= 150 && seen.g >= 150 && seen.b >= 150)
                << "the menu bar at (" << x << ", " << y << ") is " << ToString(seen);
        }

    // The program's icon names the window in the task bar and the window switcher.
    const WindowGeometry icon = x_->Icon(window);
    EXPECT_GT(icon.width, 0);
    EXPECT_GT(icon.height, 0);

    // Resized, the scene keeps filling the new client area.
    constexpr int kWidth = 500, kHeight = 400;
    x_->Resize(window, kWidth, kHeight);
    std::string mismatch = "the window never became 500 x 400";
    WaitUntil(
        [&] {
            const std::optional<Image> resized = x_->Capture(window);
            if (!resized || resized->width != kWidth || resized->height != kHeight) return false;
            mismatch = StartUpSceneMismatch(*resized);
            return mismatch.empty();
        },
        kPatience, std::chrono::milliseconds(50));
    EXPECT_EQ(mismatch, "") << "stderr:\n" << program->Stderr();

    x_->Close(window);
    EXPECT_EQ(program->Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << program->Stderr();
    EXPECT_EQ(program->Stderr().find("first frame presented"), std::string::npos)
        << "a diagnostic was printed without being asked for";
}

// The window's creation posts the start of capture; a box that start-up opens right after
// (the main scene's background is missing) does not hold it back. A termination signal ends
// the show while the box is open, as a close would.
TEST_F(E2eStartUpAndClose, CaptureStartsWhileAStartUpBoxIsOpen) {
    ASSERT_NO_FATAL_FAILURE(StageInstallationWithout("bgr/bgnd.bmp"));
    std::unique_ptr<Process> program = StartProgram({{"PLATFORM_DIAG_BOXES", "1"}});
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForBox(*program, "Failed to load Background Image.", &window));
    // Capture holds the sound card's lock in the session folder.
    const std::string lock = pulse_->Folder() + "/winmm-wavein0-" + std::to_string(getuid()) + ".lock";
    auto captureHoldsTheCard = [&] {
        const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return false;
        const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
        close(fd);
        return held;
    };
    EXPECT_TRUE(WaitUntil(captureHoldsTheCard, kPatience)) << "stderr:\n" << program->Stderr();
    EXPECT_EQ(program->Stderr().find("answered"), std::string::npos) << "the box was closed meanwhile";
    program->Signal(SIGTERM);
    // Within a second on an idle machine; the bound only keeps a broken build from hanging.
    EXPECT_EQ(program->Wait(std::chrono::seconds(10)), ExitStatus::Exited(kCloseStatus)) << program->Stderr();
}

}  // namespace
}  // namespace vlx_test
