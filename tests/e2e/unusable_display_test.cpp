// Start-ups that cannot show anything end quietly with status 0 and say why on stderr.
#include <sstream>

#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

using E2eUnusableDisplay = StagedProgramTest;

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

TEST_F(E2eUnusableDisplay, NoWindowSystemEndsQuietlyNamingReason) {
    ProcessOptions options;
    options.unsetEnv = {"DISPLAY"};
    std::unique_ptr<Process> program = StartProgramWithEnv(options);
    EXPECT_EQ(program->Wait(kPatience), ExitStatus::Exited(0)) << program->Stderr();
    const std::vector<std::string> reasons = LinesStartingWith(program->Stderr(), "win32: no window system: ");
    ASSERT_EQ(reasons.size(), 1u) << "stderr:\n" << program->Stderr();
    EXPECT_GT(reasons[0].size(), std::string("win32: no window system: ").size()) << "the reason is empty";
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
