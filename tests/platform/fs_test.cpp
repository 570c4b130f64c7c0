// The resolution of Windows-style file names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fs/fs.h"

namespace stdfs = std::filesystem;

class Paths : public ::testing::Test {
protected:
    // drive/virelux is the installation folder; drive/work the current directory.
    void SetUp() override {
        drive = stdfs::temp_directory_path() / ("vlx-fs-" + std::to_string(getpid()));
        stdfs::remove_all(drive);
        Write(drive / "virelux/bgr/Sky01.bmp", "sky");
        Write(drive / "virelux/xda/BAS/cube.x", "installed cube");
        Write(drive / "virelux/scene00.txt", "installed scene");
        Write(drive / "work/scene00.txt", "local scene");
        Write(drive / "other/file.txt", "other");
        fs::SetInstallationFolder((drive / "virelux").string());
        previous = stdfs::current_path();
        stdfs::current_path(drive / "work");
    }
    void TearDown() override {
        stdfs::current_path(previous);
        stdfs::remove_all(drive);
    }
    static void Write(const stdfs::path& p, const char* text) {
        stdfs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    static std::string Read(std::string_view name) {
        std::ifstream in = fs::OpenInput(name);
        std::string text;
        std::getline(in, text);
        return text;
    }

    stdfs::path drive, previous;
};

TEST_F(Paths, BackslashesAndCaseDoNotMatter) {
    EXPECT_EQ(Read("xda\\bas\\cube.x"), "installed cube");
    EXPECT_EQ(Read("XDA\\Bas\\CUBE.X"), "installed cube");
    EXPECT_EQ(Read("bgr/sky01.BMP"), "sky");
}

TEST_F(Paths, ALeadingSlashStartsAtTheDriveRoot) {
    EXPECT_EQ(Read("/virelux/bgr/sky01.bmp"), "sky");
    EXPECT_EQ(Read("\\VIRELUX\\bgr\\Sky01.bmp"), "sky");
    EXPECT_EQ(Read("\\other\\file.txt"), "other");
    EXPECT_FALSE(fs::Resolve("/virelux/bgr/sky02.bmp"));
}

TEST_F(Paths, AnExistingAbsolutePathIsTakenAsItIs) {
    const std::string absolute = (drive / "other/file.txt").string();
    ASSERT_TRUE(fs::Resolve(absolute));
    EXPECT_EQ(*fs::Resolve(absolute), absolute);
}

TEST_F(Paths, TheCurrentDirectoryComesBeforeTheInstallationFolder) {
    EXPECT_EQ(Read("scene00.txt"), "local scene");
    stdfs::remove(drive / "work/scene00.txt");
    EXPECT_EQ(Read("scene00.txt"), "installed scene");
    EXPECT_EQ(Read(".\\SCENE00.TXT"), "installed scene");
}

TEST_F(Paths, MissingNamesResolveToNothingAndOpenNothing) {
    EXPECT_FALSE(fs::Resolve(""));
    EXPECT_FALSE(fs::Resolve("xda\\bas\\nothing.x"));
    EXPECT_FALSE(fs::Resolve("nowhere\\cube.x"));
    EXPECT_EQ(fs::OpenFile("missing.txt", "rb"), nullptr);
    EXPECT_FALSE(fs::OpenInput("missing.txt").is_open());
}

TEST_F(Paths, InstallationPathJoinsWithoutLookingUp) {
    EXPECT_EQ(fs::InstallationPath("res\\icon.bmp"), (drive / "virelux/res/icon.bmp").string());
}
