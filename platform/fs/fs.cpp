// Implements the Windows file naming of fs.h (Resolve, OpenFile, OpenInput and the
// installation folder). Leaves out: drive letters, UNC names, short 8.3 names.
#include "platform/fs/fs.h"

#include <strings.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace stdfs = std::filesystem;

namespace fs {

static std::string& FolderSetting() {
    static std::string folder = [] {
        std::error_code ec;
        const stdfs::path exe = stdfs::read_symlink("/proc/self/exe", ec);
        return ec ? stdfs::current_path().string() : exe.parent_path().string();
    }();
    return folder;
}

const std::string& InstallationFolder() { return FolderSetting(); }

void SetInstallationFolder(const std::string& folder) { FolderSetting() = folder; }

static std::string Slashes(std::string_view name) {
    std::string s(name);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

std::string InstallationPath(std::string_view relative) {
    return (stdfs::path(InstallationFolder()) / stdfs::path(Slashes(relative)).relative_path()).string();
}

static bool Exists(const stdfs::path& p) {
    std::error_code ec;
    return stdfs::exists(p, ec);
}

// Walks `relative` below `base` one component at a time, taking the exact name when it
// exists and otherwise the first entry that matches it without regard to case.
static std::optional<std::string> Walk(const stdfs::path& base, const stdfs::path& relative) {
    stdfs::path current = base;
    for (const stdfs::path& part : relative) {
        const std::string name = part.string();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            current = current.parent_path();
            continue;
        }
        stdfs::path exact = current / part;
        if (Exists(exact)) {
            current = exact;
            continue;
        }
        std::error_code ec;
        bool found = false;
        for (stdfs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            if (strcasecmp(it->path().filename().c_str(), name.c_str()) == 0) {
                current = it->path();
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return current.string();
}

std::optional<std::string> Resolve(std::string_view name) {
    const std::string path = Slashes(name);
    if (path.empty()) return std::nullopt;
    if (path.front() == '/') {
        if (Exists(path)) return path;
        const stdfs::path driveRoot = stdfs::path(InstallationFolder()).parent_path();
        return Walk(driveRoot, stdfs::path(path).relative_path());
    }
    std::error_code ec;
    if (auto found = Walk(stdfs::current_path(ec), path)) return found;
    return Walk(InstallationFolder(), path);
}

std::FILE* OpenFile(std::string_view name, const char* mode) {
    const auto path = Resolve(name);
    return path ? std::fopen(path->c_str(), mode) : nullptr;
}

std::ifstream OpenInput(std::string_view name, std::ios::openmode mode) {
    std::ifstream in;
    if (const auto path = Resolve(name)) in.open(*path, mode | std::ios::in);
    return in;
}

}  // namespace fs
