// The mouse, the menu and the arrow keys on the running show's main scene, as a user meets
// them: a click picks the spinning logo (and, with "Select box" ticked, puts the green marker
// round it), a left drag turns it, a right drag moves it, "Copy" and "Paste" add a second one,
// "Delete" takes the selected one away, a held arrow key flies the camera. Everything is
// judged by the client area's pixels: the logo's are those that do not show the background
// picture. With VLX_E2E_SHOTS=<folder> each step leaves a screenshot there.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

// What the client area shows besides the background picture.
struct Look {
    int count = 0;        // pixels that differ from the picture: the logo, the marker
    double x = 0, y = 0;  // their centre, window coordinates
    int green = 0;        // the marker's: pure green under white light (red and blue alike)
    int onX = 0, onY = 0;   // the logo's inner pixel (not the marker's) nearest the centre: a press there hits it
};

bool MarkerGreen(const Rgb& p) { return p.g > p.r + 40 && std::abs(p.r - p.b) <= 4; }

Look LookAt(const Image& image) {
    Look look;
    for (int y = kMenuBarHeight; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (MarkerGreen(image.At(x, y))) ++look.green;
            if (ShowsStartUpPicture(image, x, y, 48)) continue;
            ++look.count;
            look.x += x;
            look.y += y;
        }
    if (look.count == 0) return look;
    look.x /= look.count;
    look.y /= look.count;
    // The press point lies inside the logo, with logo all round it: a pixel on its edge may be
    // missed by a pick that sees the logo a pixel off.
    auto onLogo = [&](int x, int y) {
        return x >= 0 && y >= kMenuBarHeight && x < image.width && y < image.height &&
               !ShowsStartUpPicture(image, x, y, 48) && !MarkerGreen(image.At(x, y));
    };
    auto inside = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!onLogo(x + dx, y + dy)) return false;
        return true;
    };
    double nearest = 1e9;
    for (int y = kMenuBarHeight; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double d = std::hypot(x - look.x, y - look.y);
            if (d >= nearest || !inside(x, y)) continue;
            nearest = d;
            look.onX = x;
            look.onY = y;
        }
    return look;
}

// The number of pixels two pictures of the window differ in.
int Differing(const Image& a, const Image& b) {
    int n = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) n += Near(a.pixels[i], b.pixels[i], 24) ? 0 : 1;
    return n;
}

// How far the objects' pixels of `before` (those not showing the background picture) lie
// shifted in `after`: the shift within 60 pixels either way under which they match best.
struct Shift {
    int dx = 0, dy = 0;
};

Shift BestShift(const Image& before, const Image& after) {
    std::vector<std::pair<int, int>> object;
    for (int y = kMenuBarHeight; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x)
            if (!ShowsStartUpPicture(before, x, y, 48)) object.emplace_back(x, y);
    Shift best;
    long bestCost = -1;
    for (int dy = -60; dy <= 60; ++dy)
        for (int dx = -60; dx <= 60; ++dx) {
            long cost = 0;
            for (const auto& [x, y] : object) {
                const int ax = std::clamp(x + dx, 0, after.width - 1), ay = std::clamp(y + dy, 0, after.height - 1);
                const Rgb a = after.At(ax, ay), b = before.At(x, y);
                cost += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = Shift{dx, dy};
            }
        }
    return best;
}

class E2ePicking : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        // Without a sound card the lamps keep their colours: the pictures change only by what
        // the mouse and the keys do (and the logo's own spin).
        StartDisplay(XvfbServer::WindowManager::None, Sound::None);
    }
    Image Shot() {
        std::optional<Image> image = x_->Capture(window_);
        EXPECT_TRUE(image);
        return image ? *image : Image{};
    }
    // Waits until the logo stands still: two pictures a few frames apart are the same.
    Image Still() {
        Image last = Shot(), now;
        EXPECT_TRUE(WaitUntil([&] {
            now = Shot();
            const bool same = Differing(last, now) < 8;
            last = now;
            return same;
        }, kPatience, std::chrono::milliseconds(100))) << "the picture never stood still";
        return now;
    }
    void Save(const char* step) {
        const char* folder = std::getenv("VLX_E2E_SHOTS");
        if (!folder) return;
        ProcessOptions options;
        options.setEnv["DISPLAY"] = server_->Display();
        Process({"import", "-window", Id(), std::string(folder) + "/" + step + ".png"}, options).Wait(kPatience);
    }
    void Mouse(std::vector<std::string> steps) {
        steps.insert(steps.begin(), {"windowfocus", "--sync", Id()});
        Xdotool(steps);
    }
    // Presses `button` at (x, y), moves by (dx, dy) in four steps a few frames apart, and lets
    // go a moment later (a button let go together with the last move would leave that move's
    // spin running).
    void Drag(const char* button, int x, int y, int dx, int dy) {
        std::vector<std::string> steps{"mousemove", "--window", Id(), At(x), At(y), "mousedown", button};
        for (int i = 1; i <= 4; ++i)
            steps.insert(steps.end(), {"sleep", "0.05", "mousemove", "--window", Id(), At(x + dx * i / 4), At(y + dy * i / 4)});
        steps.insert(steps.end(), {"sleep", "0.2", "mouseup", button});
        Mouse(steps);
    }
    static std::string At(double v) { return std::to_string(std::lround(v)); }
    // Opens the Functions menu, takes its picture once it stands still, and closes it with a
    // click on its title.
    Image FunctionsMenuPicture() {
        // The popup covers the top left of the client area in its light grey.
        auto open = [this] { const Rgb p = Shot().At(60, 33); return p.r > 200 && p.g > 200 && p.b > 200; };
        Mouse({"mousemove", "--window", Id(), "90", "9", "click", "1"});
        EXPECT_TRUE(WaitUntil(open, kPatience)) << "the Functions menu did not open";
        auto entries = [this] {
            const Image shot = Shot();
            std::vector<Rgb> rows;
            for (int y = 20; y < 70 && y < shot.height; ++y) rows.push_back(shot.At(100, y));
            return rows;
        };
        std::vector<Rgb> last = entries();
        EXPECT_TRUE(WaitUntil([&] { std::vector<Rgb> now = entries(); return std::exchange(last, now) == now; }, kPatience));
        const Image menu = Shot();
        Mouse({"mousemove", "--window", Id(), "90", "9", "click", "1", "mousemove", "--window", Id(), "300", "300"});
        EXPECT_TRUE(WaitUntil([&] { return !open(); }, kPatience)) << "the menu did not close";
        return menu;
    }
    // Chooses an entry of the Functions menu: "Select box" at 33; or of its Object treat
    // submenu (which opens over the narrow window's first popup): Delete 71, Copy 88, Cut 105,
    // Paste 122. The mouse then leaves the logo alone.
    void Functions(int y) {
        const std::vector<MenuPoint> path = y <= 33 ? std::vector<MenuPoint>{{90, 9}, {90, y}}
                                                    : std::vector<MenuPoint>{{90, 9}, {90, 50}, {90, y}};
        ASSERT_NO_FATAL_FAILURE(ChooseMenuEntry(window_, path));
        Mouse({"mousemove", "--window", Id(), "300", "300"});
        auto open = [this] { const Rgb p = Shot().At(60, 33); return p.r > 200 && p.g > 200 && p.b > 200; };
        EXPECT_TRUE(WaitUntil([&] { return !open(); }, kPatience)) << "the menu did not close";
    }
    // Whether "Select box" shows a tick: dark pixels inside the popup, right of the entry's text.
    static bool SelectBoxTicked(const Image& menu) {
        bool ticked = false;
        for (int y = 30; y <= 42; ++y) {
            int popupEnd = 0;
            for (int x = 130; x < menu.width; ++x)
                if (menu.At(x, y).r > 200) popupEnd = x;
            for (int x = 130; x < popupEnd; ++x) ticked = ticked || menu.At(x, y).r < 100;
        }
        return ticked;
    }
    std::string Id() const { return std::to_string(window_); }

    XWindowId window_ = 0;
};

TEST_F(E2ePicking, AClickPicksTheLogoDragsTurnAndMoveItTheMenuCopiesAndDeletesAnArrowFliesTheCamera) {
    std::unique_ptr<Process> program = StartProgram({{"PLATFORM_DIAG_BOXES", "1"}});
    ASSERT_NO_FATAL_FAILURE(WaitForBox(*program, "No Sound card install!", &window_));
    PressKey(window_, "Return");
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program, &window_));
    const Look start = LookAt(Shot());
    ASSERT_GT(start.count, 300) << "the logo is not in the client area";
    Save("1-start");

    // A press on the logo selects it; held for a while it also stops the logo's own spin.
    Mouse({"mousemove", "--window", Id(), At(start.onX), At(start.onY), "mousedown", "1", "sleep", "0.3", "mouseup", "1",
           "mousemove", "--window", Id(), "300", "300"});
    const Image selected = Still();
    Save("2-selected");

    // "Select box" in the Functions menu puts the green marker round the selected logo at once,
    // and the entry shows a tick when the menu opens again.
    Functions(33);
    const Image marked = Still();
    Save("3-marked");
    EXPECT_TRUE(SelectBoxTicked(FunctionsMenuPicture())) << "\"Select box\" shows no tick";
    EXPECT_GT(LookAt(marked).green, LookAt(selected).green + 60) << "no green marker round the logo";

    // A left drag downwards turns the logo about the screen's horizontal axis, and only while
    // the mouse moves: afterwards it stands still again, turned.
    Drag("1", start.onX, start.onY, 0, 40);
    const Image turned = Still();
    Save("4-turned");
    EXPECT_GT(Differing(marked, turned), 200) << "the left drag did not turn the logo";

    // A right drag moves it with the mouse, 40 pixels right and 20 up: the logo's pixels
    // show again shifted by that much.
    const Look before = LookAt(turned);
    Drag("3", before.onX, before.onY, 40, -20);
    const Image moved = Still();
    Save("5-moved");
    const Shift shift = BestShift(turned, moved);
    EXPECT_NEAR(shift.dx, 40, 2);
    EXPECT_NEAR(shift.dy, -20, 2);

    // "Copy" then "Paste" add a second logo where the first stands; a right drag takes one of
    // them 70 pixels to the left, and two logos show. "Delete" takes the selected one away.
    const int one = LookAt(moved).count;
    Functions(88);
    Functions(122);
    const Look pasted = LookAt(Still());
    Drag("3", pasted.onX, pasted.onY, -70, 0);
    const Image two = Still();
    Save("6-pasted");
    EXPECT_GT(LookAt(two).count, one * 3 / 2) << "no second logo after Copy and Paste";
    Functions(71);
    const Image deleted = Still();
    Save("7-deleted");
    EXPECT_LT(LookAt(deleted).count, one * 5 / 4) << "Delete left the selected logo";
    EXPECT_GT(LookAt(deleted).count, one / 2) << "Delete took both logos";

    // Holding the left arrow flies the camera sideways: the logo keeps drifting across the
    // picture while the key is down and stops when it comes up.
    Mouse({"keydown", "Left"});
    double x = LookAt(deleted).x;
    for (int stretch = 0; stretch < 2; ++stretch) {
        const double from = x;
        EXPECT_TRUE(WaitUntil([&] { x = LookAt(Shot()).x; return std::abs(x - from) > 8.0; }, kPatience))
            << "the logo did not drift on while the arrow was held";
    }
    Save("8-flying");
    Mouse({"keyup", "Left"});
    Still();   // a flying camera shifts the logo by pixels between any two pictures
    Save("9-stopped");
    EXPECT_TRUE(program->Running()) << program->Stderr();
}

}  // namespace
}  // namespace vlx_test
