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

TEST_F(Paths, NamesResolveWhateverTheirSlashesAndCaseLocalFilesFirst) {
    const std::pair<const char*, const char*> found[] = {
        {"xda\\bas\\cube.x", "installed cube"}, {"XDA\\Bas\\CUBE.X", "installed cube"}, {"bgr/sky01.BMP", "sky"},
        {"/virelux/bgr/sky01.bmp", "sky"},       // a leading slash starts at the drive root
        {"\\VIRELUX\\bgr\\Sky01.bmp", "sky"}, {"\\other\\file.txt", "other"},
        {"scene00.txt", "local scene"}};         // the current directory before the installation
    for (const auto& [name, text] : found) EXPECT_EQ(Read(name), text) << name;
    stdfs::remove(drive / "work/scene00.txt");
    EXPECT_EQ(Read(".\\SCENE00.TXT"), "installed scene");

    const std::string absolute = (drive / "other/file.txt").string();
    EXPECT_EQ(fs::Resolve(absolute).value_or(""), absolute);   // taken as it is
    EXPECT_EQ(fs::InstallationPath("res\\icon.bmp"), (drive / "virelux/res/icon.bmp").string());

    for (const char* missing : {"", "xda\\bas\\nothing.x", "nowhere\\cube.x", "/virelux/bgr/sky02.bmp"})
        EXPECT_FALSE(fs::Resolve(missing)) << missing;
    EXPECT_FALSE(fs::OpenInput("missing.txt").is_open());
}
