// The staged program as a user meets it: started from its installation folder on a test's
// own X server, its main window found by title and looked at through X.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/pulse_server.h"
#include "tests/support/x_client.h"
#include "tests/support/xvfb_server.h"

namespace vlx_test {

inline constexpr const char* kWindowTitle = "Virelux 2.5 (Freeware version)";
inline constexpr int kWindowSize = 320;      // width and height the window is created with
inline constexpr int kMenuBarHeight = 19;    // the client area starts below it
inline constexpr int kCloseStatus = 412 & 0xFF;   // the command a close posts ends the loop
inline constexpr std::chrono::milliseconds kPatience(20000);   // for anything the program does

// What the client area shows once the first frame is up: the main scene, its background
// picture bgr/bgnd.bmp stretched over the whole client area, with the logo and the lamps in
// front of it. "" when the sampled pixels of `image` below the menu bar show that picture, apart
// from the few the objects and filtering change; otherwise what differs. This is the one place
// that knows what the first frame looks like.
std::string StartUpSceneMismatch(const Image& image);
// A picture of the installation (such as "res/splash.bmp") as RGB, rows from the top; empty
// when it cannot be read.
Image InstalledPicture(const std::string& name);
// Whether the pixel (x, y) of the window's `image` shows the start-up scene's background picture,
// stretched over the client area, within `tolerance` per channel.
bool ShowsStartUpPicture(const Image& image, int x, int y, int tolerance);

// A point of a window, in its coordinates: a title of the menu bar or an entry of a popup.
struct MenuPoint {
    int x, y;
};

class StagedProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a private X server, with openbox when asked, and connects to it; and a private
    // sound server with a null sink, so that the show finds a sound card as on a desktop,
    // or, with Sound::None, a machine without any sound server.
    enum class Sound { Server, None };
    void StartDisplay(XvfbServer::WindowManager windowManager = XvfbServer::WindowManager::None,
                      Sound sound = Sound::Server);
    // Starts the program (program_) from its installation folder on the test's display.
    std::unique_ptr<Process> StartProgram(const std::map<std::string, std::string>& extraEnv = {});
    std::unique_ptr<Process> StartProgramWithEnv(ProcessOptions options);
    // Later starts run a copy of the installation folder that lacks `file` (such as
    // "demo.mid"), as if a user had deleted it. The copy is removed when the test ends.
    void StageInstallationWithout(const std::string& file);

    // Waits until the program's window shows its first frame: the centre of the client area
    // shows the start-up scene. A box that start-up opens before it is answered on the way, as
    // a user would: the splash with Enter (the demo tune plays on), the Sound device box (no
    // demo tune) with Esc. A fatal failure says what was seen instead.
    void WaitForFirstFrame(Process& program, XWindowId* window);
    // Waits until the program (started with PLATFORM_DIAG_BOXES=1) shows a message box whose
    // text starts with `text` (line breaks written as \n) and leaves its window in `*window`.
    // A fatal failure says what the program did instead.
    void WaitForBox(Process& program, const std::string& text, XWindowId* window);

    // Chooses a menu entry with real clicks: clicks the title of the menu bar at path[0], moves
    // over each further entry (window coordinates) until it is lit as the one under the mouse
    // (a popup takes a frame or two to open, and a slow frame may still be placing it), and
    // clicks the last. A fatal failure names the entry that never lit.
    void ChooseMenuEntry(XWindowId window, const std::vector<MenuPoint>& path);

    // Gives `window` the focus and types `key` (an X key name such as "F7") as real key events.
    void PressKey(XWindowId window, const std::string& key);
    // Runs xdotool with `arguments` on the test's display (real pointer and key events).
    void Xdotool(const std::vector<std::string>& arguments);

    // The share of a band across the client area's upper part (from 15 % to 30 % of its height) that shows the installation's
    // picture `picture` (such as "bgr/sky01.bmp") stretched over the client area, 0 to 1.
    static double UpperBandShows(const Image& image, const std::string& picture);

    static std::string ProgramPath();

    // Answers each start-up box of `program` over `mainWindow` that is not in `answered` yet
    // and adds it there.
    void AnswerStartUpBoxes(Process& program, XWindowId mainWindow, std::set<XWindowId>& answered);

    std::string installFolder_ = VLX_INSTALL_DIR;   // where StartProgram runs the program
    std::string program_ = "virelux";                // which program of the installation it runs
    std::string stagedCopy_;                         // a copy made by StageInstallationWithout
    std::unique_ptr<PulseServer> pulse_;
    std::unique_ptr<NoSoundOutput> noSound_;
    std::unique_ptr<XvfbServer> server_;   // declared before x_: the connection closes first
    std::unique_ptr<XClient> x_;
};

}  // namespace vlx_test
