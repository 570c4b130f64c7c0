#include "tests/e2e/staged_program.h"

#include <unistd.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/wait.h"

namespace vlx_test {

namespace {

// The main scene's background picture as RGB, rows from the top.
const Image& BackgroundPicture() {
    static const Image picture = [] {
        Image image;
        SDL_Surface* loaded = SDL_LoadBMP((std::string(VLX_INSTALL_DIR) + "/bgr/bgnd.bmp").c_str());
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
    }();
    return picture;
}

}  // namespace

// How many of the sampled pixels along a line of the area show the picture, and the first
// that does not.
struct Tally {
    int samples = 0, matches = 0;
    std::string first;
};

static void Sample(const Image& image, const Image& picture, int x, int y, Tally& tally) {
    // Stars (single texels, blurred by linear filtering), the logo and the lamps differ from
    // the picture; the rest of the client area shows it.
    constexpr int kTolerance = 16;
    const int clientHeight = image.height - kMenuBarHeight;
    const int px = std::min(picture.width - 1, x * picture.width / image.width);
    const int py = std::min(picture.height - 1, (y - kMenuBarHeight) * picture.height / clientHeight);
    const Rgb expected = picture.At(px, py), seen = image.At(x, y);
    ++tally.samples;
    if (Near(seen, expected, kTolerance)) {
        ++tally.matches;
    } else if (tally.first.empty()) {
        std::ostringstream out;
        out << "pixel (" << x << ", " << y << ") is " << ToString(seen) << ", the picture there " << ToString(expected);
        tally.first = out.str();
    }
}

static std::string Verdict(const char* where, const Tally& t, int percent) {
    if (t.samples > 0 && t.matches * 100 >= t.samples * percent) return "";
    std::ostringstream out;
    out << where << ": " << t.matches << " of " << t.samples << " sampled pixels show the background picture; first other: "
        << t.first;
    return out.str();
}

std::string StartUpSceneMismatch(const Image& image, Area area) {
    const Image& picture = BackgroundPicture();
    if (picture.pixels.empty()) return "the background picture bgr/bgnd.bmp could not be read";
    if (image.height <= kMenuBarHeight || area.top < kMenuBarHeight || area.right > image.width ||
        area.bottom > image.height || area.left >= area.right || area.top >= area.bottom)
        return "the area lies outside the client area";
    Tally inside;
    for (int y = area.top; y < area.bottom; y += 7)
        for (int x = area.left; x < area.right; x += 7) Sample(image, picture, x, y, inside);
    // The picture reaches every edge: a strip left uncovered shows along one of them.
    Tally top, bottom, left, right;
    for (int x = area.left; x < area.right; x += 3) {
        Sample(image, picture, x, area.top, top);
        Sample(image, picture, x, area.bottom - 1, bottom);
    }
    for (int y = area.top; y < area.bottom; y += 3) {
        Sample(image, picture, area.left, y, left);
        Sample(image, picture, area.right - 1, y, right);
    }
    for (std::string verdict : {Verdict("inside", inside, 85), Verdict("top edge", top, 75), Verdict("bottom edge", bottom, 75),
                                Verdict("left edge", left, 75), Verdict("right edge", right, 75)})
        if (!verdict.empty()) return verdict;
    return "";
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
    // The test's own sound server, unless the test chose another.
    // and its own session folder (where the sound card's lock lives).
    if (pulse_) {
        for (const auto& [name, value] : pulse_->ClientEnvironment()) options.setEnv.emplace(name, value);
        options.setEnv.emplace("XDG_RUNTIME_DIR", pulse_->Folder());
    }
    if (noSound_)
        for (const auto& [name, value] : noSound_->ClientEnvironment()) options.setEnv.emplace(name, value);
    // Only the test's X server: no Wayland compositor, no driver chosen from outside.
    for (const char* name : {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) options.unsetEnv.push_back(name);
    options.workingDirectory = installFolder_;
    return std::make_unique<Process>(std::vector<std::string>{installFolder_ + "/virelux"}, options);
}

void StagedProgramTest::WaitForFirstFrame(Process& program, XWindowId* window) {
    const std::optional<XWindowId> found = x_->WaitForWindow(kWindowTitle, kPatience);
    ASSERT_TRUE(found) << "no window titled \"" << kWindowTitle << "\" appeared; the program " << program.Wait({})
                       << ", stderr:\n" << program.Stderr();
    *window = *found;
    std::string mismatch = "the window could not be read";
    const bool shown = WaitUntil(
        [&] {
            const std::optional<Image> image = x_->Capture(*found);
            if (!image || image->height <= kMenuBarHeight) return false;
            mismatch = StartUpSceneMismatch(*image, {0, kMenuBarHeight, image->width, image->height});
            return mismatch.empty();
        },
        kPatience, std::chrono::milliseconds(50));
    ASSERT_TRUE(shown) << "the client area never showed the start-up scene: " << mismatch << "; the program "
                       << program.Wait({}) << ", stderr:\n" << program.Stderr();
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
