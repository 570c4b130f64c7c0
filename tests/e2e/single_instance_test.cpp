// One show per user and display: a second start brings the running one forward and ends.
#include <algorithm>

#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

class E2eSingleInstance : public StagedProgramTest {
protected:
    // Iconifies the first copy's window, starts a second copy and checks that it ends with
    // status 0 without a window of its own, having restored the first.
    void SecondCopyRestores(XWindowId window, const std::map<std::string, std::string>& env) {
        x_->Iconify(window);
        ASSERT_TRUE(WaitUntil([&] { return x_->Iconified(window) && !x_->Viewable(window); }, kPatience))
            << "the window manager did not iconify the window";
        std::unique_ptr<Process> second = StartProgram(env);
        size_t mostWindows = 0;   // watched while the second copy runs
        WaitUntil(
            [&] {
                mostWindows = std::max(mostWindows, x_->FindWindows(kWindowTitle).size());
                return !second->Running();
            },
            kPatience, std::chrono::milliseconds(5));
        EXPECT_EQ(second->Wait({}), ExitStatus::Exited(0)) << second->Stderr();
        EXPECT_EQ(mostWindows, 1u) << "the second copy opened a window";
        EXPECT_TRUE(WaitUntil([&] { return !x_->Iconified(window) && x_->Viewable(window); }, kPatience))
            << "the first copy's window stayed iconified";
    }
};

TEST_F(E2eSingleInstance, SecondCopyRestoresIconifiedFirstAndEnds) {
    StartDisplay(XvfbServer::WindowManager::Openbox);
    std::unique_ptr<Process> first = StartProgram();
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*first, &window));
    ASSERT_NO_FATAL_FAILURE(SecondCopyRestores(window, {}));
    EXPECT_TRUE(first->Running()) << first->Wait({});
    x_->Close(window);
    EXPECT_EQ(first->Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << first->Stderr();
}

// The first copy finds no sound card and holds its box open inside window creation; it is
// findable all that time, so a second copy brings it forward (restored) and ends. The
// window manager's close ends the box as cancelled and then the show, as a close does.
TEST_F(E2eSingleInstance, CopyShowingTheNoSoundCardBoxIsFoundAndRestored) {
    StartDisplay(XvfbServer::WindowManager::Openbox, Sound::None);
    std::unique_ptr<Process> first = StartProgram({{"PLATFORM_DIAG_BOXES", "1"}});
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForBox(*first, "No Sound card install!", &window));
    ASSERT_NO_FATAL_FAILURE(SecondCopyRestores(window, {{"PLATFORM_DIAG_BOXES", "1"}}));
    x_->Close(window);
    EXPECT_EQ(first->Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << first->Stderr();
}

// Copies started at the same moment race for the one show: exactly one stays.
TEST_F(E2eSingleInstance, ThreeCopiesStartedTogetherLeaveOneShow) {
    StartDisplay();
    std::vector<std::unique_ptr<Process>> copies;
    for (int i = 0; i < 3; ++i) copies.push_back(StartProgram());
    auto running = [&] {
        return std::count_if(copies.begin(), copies.end(), [](const auto& copy) { return copy->Running(); });
    };
    EXPECT_TRUE(WaitUntil([&] { return running() == 1; }, kPatience)) << running() << " copies run";
    XWindowId window = 0;
    for (auto& copy : copies) {
        if (copy->Running()) {
            ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*copy, &window));
            continue;
        }
        EXPECT_EQ(copy->Wait({}), ExitStatus::Exited(0)) << copy->Stderr();
    }
    EXPECT_EQ(x_->FindWindows(kWindowTitle).size(), 1u);
    EXPECT_EQ(running(), 1);
    x_->Close(window);
}

// The running copy is looked up per display, so shows on two X servers are independent.
TEST_F(E2eSingleInstance, CopiesOnDifferentDisplaysBothRun) {
    StartDisplay();
    XvfbServer otherServer;
    XClient otherX(otherServer.Display());
    PulseServer otherSound;   // another desktop: its own sound server too

    std::unique_ptr<Process> here = StartProgram();
    XWindowId hereWindow = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*here, &hereWindow));
    ProcessOptions options;
    options.setEnv = otherSound.ClientEnvironment();
    options.setEnv["XDG_RUNTIME_DIR"] = otherSound.Folder();
    options.setEnv["DISPLAY"] = otherServer.Display();
    std::unique_ptr<Process> there = StartProgramWithEnv(options);
    const std::optional<XWindowId> thereWindow = otherX.WaitForWindow(kWindowTitle, kPatience);
    ASSERT_TRUE(thereWindow) << there->Wait({}) << ", stderr:\n" << there->Stderr();
    otherX.Close(*thereWindow);
    EXPECT_EQ(there->Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << there->Stderr();
    EXPECT_TRUE(here->Running());
    x_->Close(hereWindow);
}

}  // namespace
}  // namespace vlx_test
