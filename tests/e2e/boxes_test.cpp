// Every box of the running show, opened as a user opens it: real clicks on the menu bar (and
// F1). Each box is a window of its own, of its template's size, with each control drawn
// inside the rectangle its template gives and nothing drawn anywhere else; Esc ends it, and
// so does the close button. Two sliders are then moved with the mouse and their effect is
// looked for in the scene: the fog's end point brought to zero turns the logo into the fog's
// colour, and the Light box's red point light shows its lamp where the box hangs it. With
// VLX_E2E_SHOTS=<folder> every box leaves a screenshot there.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/win32/win32.h"
#include "resources/resource_ids.h"
#include "tests/e2e/staged_program.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

using Point = MenuPoint;

// Where a box comes from: the menu entries clicked in turn (window coordinates of the
// 320-pixel window; the first is a title of the menu bar), or a key.
struct BoxEntry {
    const char* name;               // for messages and screenshots
    std::vector<Point> menu;        // empty: `key` opens it
    const char* key;
    const char* templateName;       // nullptr: the file browser, which has no template
};

// Scene's popup: Load 51, Edit 68, Fly movement 85, About 106; the Load and Edit submenus
// open to its right (their entries at x 150, in the rows 51, 68, 85). Help's "1.Help" opens
// its submenu to the left.
const std::vector<BoxEntry> kBoxes = {
    {"Scene > Load > Background", {{30, 9}, {30, 51}, {150, 51}}, nullptr, "BgrBox"},
    {"Scene > Load > Object", {{30, 9}, {30, 51}, {150, 51}, {150, 68}}, nullptr, "BasBox"},
    {"Scene > Load > Scenes", {{30, 9}, {30, 51}, {150, 51}, {150, 85}}, nullptr, "SceBox"},
    {"Scene > Edit > Background image", {{30, 9}, {30, 68}, {150, 68}}, nullptr, nullptr},
    {"Scene > Edit > Scenes", {{30, 9}, {30, 68}, {150, 68}, {150, 85}}, nullptr, nullptr},
    {"Scene > Fly movement", {{30, 9}, {30, 85}}, nullptr, "FlyBox"},
    {"Scene > About", {{30, 9}, {30, 106}}, nullptr, "InfBox"},
    {"Renderer", {{152, 9}}, nullptr, "RenBox"},
    {"Light", {{205, 9}}, nullptr, "LigBox"},
    {"Music", {{243, 9}}, nullptr, "MusBox"},
    {"Help > 1.Help > Introduction", {{280, 9}, {280, 34}, {140, 34}, {140, 51}}, nullptr, "DevBox"},
    {"F1", {}, "F1", "DevBox"},
};

const ResDialog& Template(const char* name) {
    for (const ResDialog& t : Win32ProgramResources().dialogs)
        if (std::string(t.name) == name) return t;
    ADD_FAILURE() << "no template " << name;
    static const ResDialog none;
    return none;
}

// Dialog units to pixels for the templates' font: 6 x 13 pixel base units, rounded.
int Horizontal(int units) { return (units * 6 + 2) / 4; }
int Vertical(int units) { return (units * 13 + 4) / 8; }

struct Rect {
    int left, top, right, bottom;
    bool Holds(int x, int y, int margin) const {
        return x >= left - margin && x < right + margin && y >= top - margin && y < bottom + margin;
    }
};

Rect PixelRect(const ResDialogItem& item) {
    return Rect{Horizontal(item.x), Vertical(item.y), Horizontal(item.x + item.cx), Vertical(item.y + item.cy)};
}

// The colour most of a box shows: its face.
Rgb Face(const Image& image) {
    std::vector<std::pair<int, int>> counts;   // packed colour, count
    std::vector<int> packed;
    for (const Rgb& p : image.pixels) packed.push_back(p.r << 16 | p.g << 8 | p.b);
    std::sort(packed.begin(), packed.end());
    int best = 0, bestCount = 0;
    for (size_t i = 0; i < packed.size();) {
        size_t j = i;
        while (j < packed.size() && packed[j] == packed[i]) ++j;
        if (static_cast<int>(j - i) > bestCount) {
            bestCount = static_cast<int>(j - i);
            best = packed[i];
        }
        i = j;
    }
    return Rgb{best >> 16 & 0xFF, best >> 8 & 0xFF, best & 0xFF};
}

// "" when the box's picture agrees with its template: its size, something drawn inside every
// control's rectangle that shows anything (all but the empty texts that the procedure may
// fill), and only the face outside them (a control drawn away from its place, or a text
// running out of its rectangle, shows there). Otherwise what disagrees.
std::string LayoutMismatch(const Image& box, const ResDialog& t) {
    if (box.width != Horizontal(t.cx) || box.height != Vertical(t.cy))
        return "the box is " + std::to_string(box.width) + " x " + std::to_string(box.height) + ", its template " +
               std::to_string(Horizontal(t.cx)) + " x " + std::to_string(Vertical(t.cy));
    const Rgb face = Face(box);
    std::vector<Rect> rects;
    for (const ResDialogItem& item : t.items) {
        const Rect r = PixelRect(item);
        rects.push_back(r);
        const bool emptyText = item.controlClass == ResControlClass::Static && (item.style & SS_TYPEMASK) != SS_BITMAP &&
                               (item.style & SS_TYPEMASK) != SS_ICON && !*item.text;
        if (emptyText) continue;
        int drawn = 0;
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, box.height); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, box.width); ++x) drawn += !Near(box.At(x, y), face, 40);
        if (drawn < 3)
            return "nothing is drawn where the template puts control " + std::to_string(item.id) + " \"" + item.text +
                   "\" (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
    }
    // The box's own frame lies along its edges.
    constexpr int kFrame = 3, kSlack = 2;
    for (int y = kFrame; y < box.height - kFrame; ++y)
        for (int x = kFrame; x < box.width - kFrame; ++x) {
            if (Near(box.At(x, y), face, 24)) continue;
            if (std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.Holds(x, y, kSlack); })) continue;
            return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") outside every control shows " +
                   ToString(box.At(x, y)) + ", not the face " + ToString(face);
        }
    return "";
}

class E2eBoxes : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        StartDisplay();
        // The Script Box's file goes to the desktop's text editor: here an opener that does nothing.
        stub_ = std::filesystem::temp_directory_path() / ("vlx-e2e-opener-" + std::to_string(getpid()));
        std::filesystem::create_directories(stub_);
        std::ofstream(stub_ / "xdg-open") << "#!/bin/sh\nexit 0\n";
        std::filesystem::permissions(stub_ / "xdg-open", std::filesystem::perms::owner_all);
        program_ = StartProgram({{"PATH", stub_.string() + ":" + std::getenv("PATH")}});
        ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program_, &window_));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(stub_, ignored);
        StagedProgramTest::TearDown();
    }

    Image Shot(XWindowId window) {
        std::optional<Image> image = x_->Capture(window);
        return image ? *image : Image{};
    }
    // The program's windows besides the main one.
    std::vector<XWindowId> Boxes() {
        std::vector<XWindowId> boxes = x_->ViewableWindowsOf(program_->Pid());
        boxes.erase(std::remove(boxes.begin(), boxes.end(), window_), boxes.end());
        return boxes;
    }
    XWindowId WaitForOneBox(const std::string& what) {
        std::vector<XWindowId> boxes;
        EXPECT_TRUE(WaitUntil([&] { return (boxes = Boxes()).size() == 1; }, kPatience))
            << what << " opened " << boxes.size() << " boxes; stderr:\n" << program_->Stderr();
        return boxes.size() == 1 ? boxes[0] : 0;
    }
    bool WaitForNoBox() { return WaitUntil([&] { return Boxes().empty(); }, kPatience); }

    XWindowId Open(const BoxEntry& entry) {
        if (entry.key) PressKey(window_, entry.key);
        else ChooseMenuEntry(window_, entry.menu);
        return WaitForOneBox(entry.name);
    }
    // Drags the thumb of the horizontal scroll bar `bar` of `box` to `toX` (box coordinates):
    // the thumb is the run of face colour between the arrows on the bar's middle row.
    void DragThumb(XWindowId box, const ResDialogItem& bar, int toX) {
        const Rect r = PixelRect(bar);
        const int y = (r.top + r.bottom) / 2;
        const Image image = Shot(box);
        const Rgb face = Face(image);
        const int arrow = r.bottom - r.top;
        int first = -1, last = -1;
        for (int x = r.left + arrow; x < r.right - arrow; ++x)
            if (Near(image.At(x, y), face, 4)) {
                if (first < 0) first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << "no thumb on the bar " << bar.id;
        const std::string b = std::to_string(box), from = std::to_string((first + last) / 2), row = std::to_string(y);
        Xdotool({"mousemove", "--window", b, from, row, "mousedown", "1", "sleep", "0.1", "mousemove", "--window", b,
                 std::to_string(((first + last) / 2 + toX) / 2), row, "sleep", "0.1", "mousemove", "--window", b,
                 std::to_string(toX), row, "sleep", "0.2", "mouseup", "1"});
    }
    void ClickControl(XWindowId box, const ResDialogItem& item) {
        const Rect r = PixelRect(item);
        const std::string b = std::to_string(box);
        Xdotool({"mousemove", "--window", b, std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2),
                 "click", "1"});
    }
    static const ResDialogItem& Item(const ResDialog& t, int id) {
        for (const ResDialogItem& item : t.items)
            if (item.id == id) return item;
        ADD_FAILURE() << "no control " << id << " in " << t.name;
        static const ResDialogItem none;
        return none;
    }
    void Save(XWindowId window, const std::string& step) {
        const char* folder = std::getenv("VLX_E2E_SHOTS");
        if (!folder) return;
        ProcessOptions options;
        options.setEnv["DISPLAY"] = server_->Display();
        std::string file = step;
        std::replace_if(file.begin(), file.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        Process({"import", "-window", std::to_string(window), std::string(folder) + "/" + file + ".png"}, options)
            .Wait(kPatience);
    }

    std::filesystem::path stub_;
    std::unique_ptr<Process> program_;
    XWindowId window_ = 0;
};

// Every entry opens its box over the main window: laid out as its template says, the
// window behind showing the scene and no leftover of the popup; Esc ends it, and, opened
// again, so does the close button. The Script Box comes after a script is chosen.
TEST_F(E2eBoxes, EveryMenuEntryOpensItsBoxAsTheTemplateLaysItOutAndEscOrTheCloseButtonEndsIt) {
    for (const BoxEntry& entry : kBoxes) {
        SCOPED_TRACE(entry.name);
        for (const bool byEsc : {true, false}) {
            const XWindowId box = Open(entry);
            ASSERT_NE(box, 0u);
            if (entry.templateName) {
                const ResDialog& t = Template(entry.templateName);
                EXPECT_EQ(x_->Title(box), t.caption);
                std::string mismatch;
                EXPECT_TRUE(WaitUntil([&] { return (mismatch = LayoutMismatch(Shot(box), t)).empty(); }, kPatience))
                    << mismatch;
            }
            // Where the popup was (right of its entries' names), the window shows its scene
            // again, unless the box covers that spot.
            const Point spot{entry.menu.size() > 1 && entry.menu[0].x < 160 ? 100 : 280, 43};
            const std::optional<WindowGeometry> main = x_->Geometry(window_), over = x_->Geometry(box);
            const int sx = main ? main->x + spot.x : 0, sy = main ? main->y + spot.y : 0;
            const bool covered = over && sx >= over->x && sx < over->x + over->width && sy >= over->y &&
                                 sy < over->y + over->height;
            if (entry.menu.size() > 1 && !covered) {
                EXPECT_FALSE(Near(Shot(window_).At(spot.x, spot.y), Rgb{250, 250, 251}, 4))
                    << "the popup stays drawn behind the box";
            }
            if (byEsc) {
                Save(box, entry.name);
                PressKey(box, "Escape");
            } else {
                x_->Close(box);
            }
            EXPECT_TRUE(WaitForNoBox()) << (byEsc ? "Esc" : "the close button") << " did not end the box";
        }
    }
    // F1 on the main window while a box is open asks for a second box: the main window
    // takes no input then, so none opens, neither now nor once the first has ended.
    XWindowId box = Open(kBoxes[7]);
    PressKey(window_, "F1");
    PressKey(box, "Escape");
    EXPECT_TRUE(WaitForNoBox());
    box = Open(kBoxes[9]);
    EXPECT_EQ(x_->Title(box), Template("MusBox").caption) << "a box asked for during another one opened";
    PressKey(box, "Escape");
    EXPECT_TRUE(WaitForNoBox());

    // Scene > Edit > Scenes: a script chosen in the browser opens the Script Box.
    const XWindowId browser = Open(kBoxes[4]);
    Xdotool({"windowfocus", "--sync", std::to_string(browser), "type", "test1.txt"});
    PressKey(browser, "Return");
    box = 0;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<XWindowId> boxes = Boxes();
        box = boxes.size() == 1 && boxes[0] != browser ? boxes[0] : 0;
        return box != 0;
    }, kPatience)) << "no Script Box after the script was chosen";
    std::string mismatch;
    EXPECT_TRUE(WaitUntil([&] { return (mismatch = LayoutMismatch(Shot(box), Template("EdiBox"))).empty(); }, kPatience))
        << mismatch;
    Save(box, "Script Box");
    PressKey(box, "Escape");
    EXPECT_TRUE(WaitForNoBox());
    EXPECT_TRUE(program_->Running());
}

// The logo's pixels (those not showing the background picture) of `image` that are within
// 24 of `colour`, as a share of all of them.
double LogoShare(const Image& image, Rgb colour) {
    int logo = 0, near = 0;
    for (int y = kMenuBarHeight; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (ShowsStartUpPicture(image, x, y, 48)) continue;
            ++logo;
            near += Near(image.At(x, y), colour, 24);
        }
    return logo ? static_cast<double>(near) / logo : 0.0;
}

// Pure red pixels within 8 of (x, y).
int RedAround(const Image& image, int cx, int cy) {
    int red = 0;
    for (int y = cy - 8; y <= cy + 8; ++y)
        for (int x = cx - 8; x <= cx + 8; ++x) {
            const Rgb p = image.At(x, y);
            red += p.r > 140 && p.g < 70 && p.b < 90;
        }
    return red;
}

// The Light box first: a point light, red at full and green and blue at zero, hangs at
// (0, 15, -5); the camera at (0, 1, -50) with a field of 0.5 sees it 14 up and 45 ahead, at
// (160, 70) of the window. Then the Render Box's End point dragged to zero: everything beyond
// the camera is fog, so the logo takes the fog's colour (32, 64, 128 at start).
TEST_F(E2eBoxes, TheLightBoxHangsARedLampAboveTheLogoAndTheFogEndSliderFogsIt) {
    const Rgb fog{32, 64, 128};
    EXPECT_EQ(RedAround(Shot(window_), 160, 70), 0);
    EXPECT_LT(LogoShare(Shot(window_), fog), 0.3);

    const ResDialog& lig = Template("LigBox");
    XWindowId box = Open(kBoxes[8]);
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(WaitUntil([&] { return LayoutMismatch(Shot(box), lig).empty(); }, kPatience));
    // Right of the label: the whole rectangle of a radio button takes the click.
    ClickControl(box, Item(lig, IDC_LIG_POINT));
    const int right = PixelRect(Item(lig, IDC_LIG_RED)).right + 20;
    ASSERT_NO_FATAL_FAILURE(DragThumb(box, Item(lig, IDC_LIG_RED), right));
    ASSERT_NO_FATAL_FAILURE(DragThumb(box, Item(lig, IDC_LIG_GREEN), 0));
    ASSERT_NO_FATAL_FAILURE(DragThumb(box, Item(lig, IDC_LIG_BLUE), 0));
    Save(box, "Light box, red point light");
    ClickControl(box, Item(lig, IDOK));
    ASSERT_TRUE(WaitForNoBox()) << "the Light box stayed open: " << program_->Stderr();
    int red = 0;
    EXPECT_TRUE(WaitUntil([&] { return (red = RedAround(Shot(window_), 160, 70)) >= 3; }, kPatience))
        << "no red lamp at (160, 70): " << red << " red pixels";
    Save(window_, "scene with the red lamp");

    const ResDialog& ren = Template("RenBox");
    box = Open(kBoxes[7]);
    ASSERT_NE(box, 0u);
    ASSERT_TRUE(WaitUntil([&] { return LayoutMismatch(Shot(box), ren).empty(); }, kPatience));
    ASSERT_NO_FATAL_FAILURE(DragThumb(box, Item(ren, IDC_REN_FOG_END), 0));
    Save(box, "Render box, fog end at zero");
    ClickControl(box, Item(ren, IDOK));
    ASSERT_TRUE(WaitForNoBox());
    double share = 0;
    EXPECT_TRUE(WaitUntil([&] { return (share = LogoShare(Shot(window_), fog)) > 0.8; }, kPatience))
        << "only " << share << " of the logo shows the fog's colour";
    Save(window_, "scene in fog");
}

}  // namespace
}  // namespace vlx_test
