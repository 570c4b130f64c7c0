// ShellExecuteA "open": documents and web addresses go to the desktop's opener (xdg-open);
// "name.exe" runs the program "name" found on PATH or in the installation folder. The
// program is started in a session of its own and never waited for; a reaper thread only
// collects its exit status.
// Implements: ShellExecuteA.
// Leaves out: verbs other than "open" (SE_ERR_NOASSOC); the owner window and the show
// command are ignored.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/win32/win32.h"

extern char** environ;

namespace {

// The results below 33 that the shell reports.
constexpr std::uintptr_t kOutOfResources = 0;
constexpr std::uintptr_t kFileNotFound = 2;     // ERROR_FILE_NOT_FOUND / SE_ERR_FNF
constexpr std::uintptr_t kAccessDenied = 5;     // SE_ERR_ACCESSDENIED
constexpr std::uintptr_t kNoAssociation = 31;   // SE_ERR_NOASSOC
constexpr std::uintptr_t kStarted = 42;         // anything above 32 means success

HINSTANCE Result(std::uintptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool IsAddress(const std::string& name) {
    const std::string lower = Lower(name);
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:", "file://"})
        if (lower.rfind(scheme, 0) == 0) return true;
    return false;
}

// A program by its bare name: on PATH first, then in the installation folder. A name with
// a folder in it is a path, found as every other file is.
std::optional<std::string> FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        std::optional<std::string> path = fs::Resolve(name);
        if (path && IsExecutableFile(*path)) return path;
        return std::nullopt;
    }
    std::vector<std::string> folders;
    if (const char* path = std::getenv("PATH")) {
        std::stringstream list(path);
        std::string folder;
        while (std::getline(list, folder, ':')) folders.push_back(folder.empty() ? "." : folder);
    }
    folders.push_back(fs::InstallationFolder());
    for (const std::string& folder : folders)
        for (const std::string& candidate : {name, Lower(name)}) {
            const std::string path = folder + "/" + candidate;
            if (IsExecutableFile(path)) return path;
        }
    return std::nullopt;
}

std::vector<std::string> SplitArguments(const char* parameters) {
    std::vector<std::string> arguments;
    if (!parameters) return arguments;
    std::istringstream words(parameters);
    std::string word;
    while (words >> word) arguments.push_back(word);
    return arguments;
}

// Starts `argv` in a new session with default signal handling and stdin from /dev/null;
// 0 or the errno of the failure.
int Spawn(std::vector<std::string> argv, const char* directory) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (directory && *directory) posix_spawn_file_actions_addchdir_np(&actions, directory);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> pointers;
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t child = -1;
    const int error = posix_spawn(&child, pointers[0], &actions, &attributes, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) return error;
    std::thread([child] {
        int status;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return 0;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, int) {
    if (!file || !*file) return Result(kFileNotFound);
    if (operation && *operation && Lower(operation) != "open") return Result(kNoAssociation);

    std::string name = file;
    for (char& c : name)
        if (c == '\\') c = '/';
    std::vector<std::string> argv;
    if (name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".exe") {
        const std::optional<std::string> program = FindProgram(name.substr(0, name.size() - 4));
        if (!program) return Result(kFileNotFound);
        argv.push_back(*program);
        for (std::string& argument : SplitArguments(parameters)) argv.push_back(std::move(argument));
    } else {
        std::string target;
        if (IsAddress(name)) {
            target = file;
        } else {
            const std::optional<std::string> document = fs::Resolve(file);
            if (!document) return Result(kFileNotFound);
            std::error_code error;
            target = std::filesystem::absolute(*document, error).string();
            if (error) target = *document;
        }
        const std::optional<std::string> opener = FindProgram("xdg-open");
        if (!opener) return Result(kNoAssociation);
        argv = {*opener, target};
    }
    switch (Spawn(std::move(argv), directory)) {
    case 0: return Result(kStarted);
    case ENOENT: return Result(kFileNotFound);
    case EACCES:
    case EPERM: return Result(kAccessDenied);
    default: return Result(kOutOfResources);
    }
}
