// ShellExecuteA: programs by their Windows names — here small scripts of the test's own that
// leave a note of how they ran (documents through the desktop's opener: the help commands' test).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/fs/fs.h"
#include "platform/win32/win32.h"
#include "tests/support/wait.h"

namespace {

using namespace std::chrono_literals;

std::uintptr_t Code(HINSTANCE result) { return reinterpret_cast<std::uintptr_t>(result); }

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("vlx-shell-" + std::to_string(getpid()));
        bin = root / "bin";
        install = root / "install";
        notes = root / "notes";
        for (const auto& folder : {bin, install, notes}) std::filesystem::create_directories(folder);
        fs::SetInstallationFolder(install.string());
        // Only our folder and the system's: whatever else PATH held must not answer.
        setenv("PATH", (bin.string() + ":/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // A program that writes its arguments and working directory to notes/<name>.
    void Program(const std::filesystem::path& folder, const std::string& name, const std::string& extra = "") {
        const std::filesystem::path path = folder / name;
        std::ofstream(path) << "#!/bin/sh\n"
                            << extra << "echo \"$*|$(pwd)\" > '" << (notes / name).string() << ".tmp'\n"
                            << "mv '" << (notes / name).string() << ".tmp' '" << (notes / name).string() << "'\n";
        chmod(path.c_str(), 0755);
    }
    // What the program of that name noted, once it has run ("" if it never did in time).
    std::string Note(const std::string& name, std::chrono::milliseconds timeout = 10s) {
        vlx_test::WaitUntil([&] { return std::filesystem::exists(notes / name); }, timeout);
        return ReadAll(notes / name);
    }
    HINSTANCE Open(const char* file, const char* parameters = nullptr, const char* directory = nullptr) {
        return ShellExecuteA(nullptr, "open", file, parameters, directory, SW_SHOWNORMAL);
    }

    std::filesystem::path root, bin, install, notes;
};

TEST_F(Shell, RunsAProgramByItsWindowsNameFromPathOrTheInstallationFolderOrFails) {
    Program(bin, "sigmeter");
    EXPECT_GT(Code(Open("sigmeter.exe")), 32u);
    EXPECT_EQ(Note("sigmeter"), "|" + std::filesystem::current_path().string() + "\n");

    // Upper case, parameters and a working directory.
    Program(bin, "cdplayer");
    EXPECT_GT(Code(ShellExecuteA(nullptr, "OPEN", "CDPLAYER.EXE", "-play  track1", root.c_str(), SW_SHOWNORMAL)), 32u);
    EXPECT_EQ(Note("cdplayer"), "-play track1|" + root.string() + "\n");

    // Also in the installation folder.
    Program(install, "mplayer2");
    EXPECT_GT(Code(Open("mplayer2.exe")), 32u);
    EXPECT_NE(Note("mplayer2"), "");
    // Not there, or there but not to be run: no program.
    EXPECT_LE(Code(Open("cdrecorder.exe")), 32u);
    EXPECT_LE(Code(Open(nullptr)), 32u);
}

// The call returns while the program still runs: it is never waited for.
TEST_F(Shell, DoesNotWaitForTheProgram) {
    const std::string go = (root / "go").string();
    Program(bin, "sigmeter",
            "i=0; while [ ! -e '" + go + "' ] && [ $i -lt 300 ]; do sleep 0.05; i=$((i+1)); done\n"
            "[ -e '" + go + "' ] || exit 1\n");
    ASSERT_GT(Code(Open("sigmeter.exe")), 32u);
    std::ofstream{go};   // only now may the program finish
    EXPECT_NE(Note("sigmeter", 20s), "") << "the program did not see the go-ahead: the call waited for it";
}

}  // namespace
