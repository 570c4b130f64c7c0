#include "tests/e2e/staged_program.h"

#include <unistd.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/support/wait.h"

namespace vlx_test {

Image InstalledPicture(const std::string& name) {
        Image image;
        SDL_Surface* loaded = SDL_LoadBMP((std::string(VLX_INSTALL_DIR) + "/" + name).c_str());
        if (!loaded) return image;
        SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
        SDL_FreeSurface(loaded);
        if (!rgb) return image;
        image.width = rgb->w;
        image.height = rgb->h;
        for (int y = 0; y < rgb->h; ++y)
            for (int x = 0; x < rgb->w; ++x) {
                const auto* p = static_cast<const unsigned char*>(rgb->pixels) + y * rgb->pitch + x * 3;
                image.pixels.push_back(Rgb{p[0], p[1], p[2]});
            }
        SDL_FreeSurface(rgb);
        return image;
}

namespace {

// The main scene's background picture.
const Image& BackgroundPicture() {
    static const Image picture = InstalledPicture("bgr/bgnd.bmp");
    return picture;
}

// Where the client area's pixel (x, y) falls on `picture` stretched over the client area.
Rgb PictureAt(const Image& picture, const Image& image, int x, int y) {
    const int clientHeight = image.height - kMenuBarHeight;
    const int px = std::min(picture.width - 1, x * picture.width / image.width);
    const int py = std::min(picture.height - 1, (y - kMenuBarHeight) * picture.height / clientHeight);
    return picture.At(px, py);
}

}  // namespace

std::string StartUpSceneMismatch(const Image& image) {
    const Image& picture = BackgroundPicture();
    if (picture.pixels.empty()) return "the background picture bgr/bgnd.bmp could not be read";
    if (image.height <= kMenuBarHeight) return "the window has no client area";
    const struct {
        int left, top, right, bottom;
    } area{0, kMenuBarHeight, image.width, image.height};
    // Stars (single texels, blurred by linear filtering), the logo and the lamps differ from
    // the picture; the rest of the client area shows it, up to every edge: a strip left
    // uncovered shows along one of them. Each part is judged on its own.
    struct Part {
        const char* name;
        int x0, y0, x1, y1, step, percent;   // sampled from (x0, y0) to (x1, y1) inclusive
    };
    const Part parts[] = {{"inside", area.left, area.top, area.right - 1, area.bottom - 1, 7, 85},
                          {"top edge", area.left, area.top, area.right - 1, area.top, 3, 75},
                          {"bottom edge", area.left, area.bottom - 1, area.right - 1, area.bottom - 1, 3, 75},
                          {"left edge", area.left, area.top, area.left, area.bottom - 1, 3, 75},
                          {"right edge", area.right - 1, area.top, area.right - 1, area.bottom - 1, 3, 75}};
    for (const Part& part : parts) {
        int samples = 0, matches = 0;
        std::string first;
        for (int y = part.y0; y <= part.y1; y += part.step)
            for (int x = part.x0; x <= part.x1; x += part.step) {
                const Rgb expected = PictureAt(picture, image, x, y), seen = image.At(x, y);
                ++samples;
                if (Near(seen, expected, 16)) ++matches;
                else if (first.empty())
                    first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + ToString(seen) +
                            ", the picture there " + ToString(expected);
            }
        if (matches * 100 < samples * part.percent)
            return std::string(part.name) + ": " + std::to_string(matches) + " of " + std::to_string(samples) +
                   " sampled pixels show the background picture; first other: " + first;
    }
    return "";
}

double StagedProgramTest::UpperBandShows(const Image& image, const std::string& name) {
    const Image picture = InstalledPicture(name);
    const int clientHeight = image.height - kMenuBarHeight;
    if (picture.pixels.empty() || clientHeight < 40) return 0.0;
    int samples = 0, matches = 0;
    for (int y = kMenuBarHeight + clientHeight * 15 / 100; y < kMenuBarHeight + clientHeight * 30 / 100; y += 3)
        for (int x = 0; x < image.width; x += 3, ++samples)
            if (Near(image.At(x, y), PictureAt(picture, image, x, y), 16)) ++matches;
    return static_cast<double>(matches) / samples;
}

void StagedProgramTest::PressKey(XWindowId window, const std::string& key) {
    Xdotool({"windowfocus", "--sync", std::to_string(window), "key", key});
}

void StagedProgramTest::ChooseMenuEntry(XWindowId window, const std::vector<MenuPoint>& path) {
    // The entry under the mouse is drawn on this blue across most of its row.
    auto lit = [&](MenuPoint p) {
        const std::optional<Image> image = x_->Capture(window);
        if (!image || p.y >= image->height) return false;
        int count = 0;
        for (int x = std::max(0, p.x - 40); x < std::min(image->width, p.x + 40); ++x)
            count += Near(image->At(x, p.y), Rgb{103, 170, 250}, 12);
        return count >= 10;
    };
    const std::string w = std::to_string(window);
    Xdotool({"mousemove", "--window", w, std::to_string(path[0].x), std::to_string(path[0].y), "click", "1"});
    for (size_t i = 1; i < path.size(); ++i) {
        Xdotool({"mousemove", "--window", w, std::to_string(path[i].x), std::to_string(path[i].y)});
        ASSERT_TRUE(WaitUntil([&] { return lit(path[i]); }, kPatience))
            << "the menu entry at (" << path[i].x << ", " << path[i].y << ") was never lit";
    }
    if (path.size() > 1) Xdotool({"click", "1"});
}

void StagedProgramTest::Xdotool(const std::vector<std::string>& arguments) {
    ProcessOptions options;
    options.setEnv["DISPLAY"] = server_->Display();
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Process xdotool(argv, options);
    ASSERT_EQ(xdotool.Wait(kPatience), ExitStatus::Exited(0)) << xdotool.Stderr();
}

bool ShowsStartUpPicture(const Image& image, int x, int y, int tolerance) {
    const Image& picture = BackgroundPicture();
    return !picture.pixels.empty() && y >= kMenuBarHeight && Near(image.At(x, y), PictureAt(picture, image, x, y), tolerance);
}

std::string StagedProgramTest::ProgramPath() { return std::string(VLX_INSTALL_DIR) + "/virelux"; }

void StagedProgramTest::SetUp() {
    ASSERT_EQ(access(ProgramPath().c_str(), X_OK), 0)
        << "the staged program " << ProgramPath() << " is missing: build the 'virelux' target first";
}

void StagedProgramTest::TearDown() {
    if (!stagedCopy_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(stagedCopy_, ignored);
    }
}

void StagedProgramTest::StageInstallationWithout(const std::string& file) {
    std::string folder = "/tmp/vlx-install-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    stagedCopy_ = folder;
    std::filesystem::copy(VLX_INSTALL_DIR, folder, std::filesystem::copy_options::recursive);
    ASSERT_TRUE(std::filesystem::remove(folder + "/" + file)) << file << " is not part of the installation";
    installFolder_ = folder;
}

void StagedProgramTest::StartDisplay(XvfbServer::WindowManager windowManager, Sound sound) {
    if (sound == Sound::Server)
        pulse_ = std::make_unique<PulseServer>();
    else
        noSound_ = std::make_unique<NoSoundOutput>();
    server_ = std::make_unique<XvfbServer>(windowManager);
    x_ = std::make_unique<XClient>(server_->Display());
}

std::unique_ptr<Process> StagedProgramTest::StartProgram(const std::map<std::string, std::string>& extraEnv) {
    ProcessOptions options;
    options.setEnv = extraEnv;
    if (server_) options.setEnv["DISPLAY"] = server_->Display();
    return StartProgramWithEnv(std::move(options));
}

std::unique_ptr<Process> StagedProgramTest::StartProgramWithEnv(ProcessOptions options) {
    // In a sanitizer build the program's own leaks are the unit tests' business; at its end
    // the GL driver it unloads leaves unreadable stacks that would change its exit status.
    if (!options.setEnv.count("ASAN_OPTIONS")) options.setEnv["ASAN_OPTIONS"] = "detect_leaks=0";
    // The test's own sound server, unless the test chose another, and its own session
    // folder (where the sound card's lock lives).
    if (pulse_) {
        for (const auto& [name, value] : pulse_->ClientEnvironment()) options.setEnv.emplace(name, value);
        options.setEnv.emplace("XDG_RUNTIME_DIR", pulse_->Folder());
    }
    if (noSound_)
        for (const auto& [name, value] : noSound_->ClientEnvironment()) options.setEnv.emplace(name, value);
    // Only the test's X server: no Wayland compositor, no driver chosen from outside.
    for (const char* name : {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) options.unsetEnv.push_back(name);
    options.workingDirectory = installFolder_;
    return std::make_unique<Process>(std::vector<std::string>{installFolder_ + "/" + program_}, options);
}

void StagedProgramTest::WaitForFirstFrame(Process& program, XWindowId* window) {
    const std::optional<XWindowId> found = x_->WaitForWindow(kWindowTitle, kPatience);
    ASSERT_TRUE(found) << "no window titled \"" << kWindowTitle << "\" appeared; the program " << program.Wait({})
                       << ", stderr:\n" << program.Stderr();
    *window = *found;
    std::string mismatch = "the window could not be read";
    std::set<XWindowId> answered;
    const bool shown = WaitUntil(
        [&] {
            AnswerStartUpBoxes(program, *found, answered);
            const std::optional<Image> image = x_->Capture(*found);
            if (!image || image->height <= kMenuBarHeight) return false;
            mismatch = StartUpSceneMismatch(*image);
            return mismatch.empty();
        },
        kPatience, std::chrono::milliseconds(50));
    ASSERT_TRUE(shown) << "the client area never showed the start-up scene: " << mismatch << "; the program "
                       << program.Wait({}) << ", stderr:\n" << program.Stderr();
}

void StagedProgramTest::AnswerStartUpBoxes(Process& program, XWindowId mainWindow, std::set<XWindowId>& answered) {
    for (XWindowId box : x_->ViewableWindowsOf(program.Pid())) {
        if (box == mainWindow || answered.count(box)) continue;
        const std::string key = x_->Title(box) == "Sound device" ? "Escape" : "Return";
        ProcessOptions options;
        options.setEnv["DISPLAY"] = server_->Display();
        // A box that could not take the focus yet is answered on a later look; one that is
        // gone by now (the program ended) needs no answer.
        Process xdotool({"xdotool", "windowfocus", "--sync", std::to_string(box), "key", key}, options);
        if (xdotool.Wait(kPatience) == ExitStatus::Exited(0)) answered.insert(box);
    }
}

void StagedProgramTest::WaitForBox(Process& program, const std::string& text, XWindowId* window) {
    const std::string line = "\": " + text;
    const bool shown = WaitUntil([&] { return program.Stderr().find(line) != std::string::npos || !program.Running(); }, kPatience);
    ASSERT_TRUE(shown && program.Running() && program.Stderr().find(line) != std::string::npos)
        << "no box \"" << text << "\" is open; the program " << program.Wait({}) << ", stderr:\n" << program.Stderr();
    const std::optional<XWindowId> found = x_->WaitForWindow(kWindowTitle, kPatience);
    ASSERT_TRUE(found) << "no window titled \"" << kWindowTitle << "\" under the box";
    *window = *found;
}

}  // namespace vlx_test
