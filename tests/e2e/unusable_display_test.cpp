// Start-ups that cannot show anything end quietly with status 0 and say why on stderr.
#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

using E2eUnusableDisplay = StagedProgramTest;

TEST_F(E2eUnusableDisplay, NoWindowSystemEndsQuietlyNamingReason) {
    ProcessOptions options;
    options.unsetEnv = {"DISPLAY"};
    std::unique_ptr<Process> program = StartProgramWithEnv(options);
    EXPECT_EQ(program->Wait(kPatience), ExitStatus::Exited(0)) << program->Stderr();
    // One line names the reason, and it is not empty.
    const std::string text = program->Stderr(), prefix = "win32: no window system: ";
    const size_t at = text.find(prefix);
    ASSERT_NE(at, std::string::npos) << "stderr:\n" << text;
    EXPECT_EQ(text.find(prefix, at + 1), std::string::npos) << "stderr:\n" << text;
    EXPECT_NE(text[at + prefix.size()], '\n') << "the reason is empty";
}

// The user sees why: the "no driver" box names the OpenGL version the display offers.
TEST_F(E2eUnusableDisplay, OpenGlBelow33ShowsWhyNoDriverFitsAndEnds) {
    StartDisplay();
    std::unique_ptr<Process> program = StartProgram(
        {{"MESA_GL_VERSION_OVERRIDE", "3.0"}, {"MESA_GLSL_VERSION_OVERRIDE", "130"}, {"PLATFORM_DIAG_BOXES", "1"}});
    XWindowId window = 0;
    ASSERT_NO_FATAL_FAILURE(WaitForBox(*program,
                                       "Could not find a D3D driver which is compatible with this display depth\\n\\n"
                                       "OpenGL 3.3 is needed; this display offers OpenGL 3.0 (",
                                       &window));
    // The box stays until answered; closing the window answers it and start-up ends.
    x_->Close(window);
    EXPECT_EQ(program->Wait(kPatience), ExitStatus::Exited(0)) << program->Stderr();
    EXPECT_TRUE(x_->FindWindows(kWindowTitle).empty()) << "the window outlived the program";
}

}  // namespace
}  // namespace vlx_test
