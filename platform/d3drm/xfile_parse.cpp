// Parsing a .x file with assimp in a child process under a memory and a time limit.
// Internal to platform/d3drm: no platform call; serves the .x loader.
//
// assimp 5.2's .x importer trusts the counts and indices in a file: a malformed one (a skin
// weight naming a vertex past the end, say) makes it write out of bounds, and a count of a few
// hundred million makes it ask for gigabytes at once, or grow until the desktop freezes. So
// the file is parsed in a child process, which hands the finished scene back in assimp's
// binary dump format. The child may add only so much memory to what it inherits and is killed
// when it takes too long; a file that crashes, stalls or outgrows the parser fails to load
// like any broken model, and the show goes on.
#include "platform/d3drm/xfile_parse.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <new>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/d3drm/d3drm_test.h"

namespace {

using d3drmtest::ParseEnd;
using d3drmtest::ParseLimits;

// ConvertToLeftHanded undoes the importer's own conversion to right-handed coordinates: the
// result has the file's coordinates, winding and texture v again. No normals are generated
// here (together with that conversion they would point inwards), and nothing may merge the
// frames that animations refer to.
constexpr unsigned kImportFlags = aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices |
                                  aiProcess_Triangulate | aiProcess_ValidateDataStructure;

// The default limits (d3drm_test.h). The largest real model we know (2.5 MB of text, 6,849
// faces) needs less than 16 MB while parsing and parses in a third of a second: 1 GiB leaves
// room for models many times larger and is still far below a desktop's memory, so a file that
// asks for more is broken; ten seconds leave room for a slow or busy machine.
ParseLimits& Limits() {
    static ParseLimits limits;
    return limits;
}

struct ParseRecord {
    void (*childHook)() = nullptr;
    int started = 0;
    ParseEnd lastEnd = ParseEnd::None;
};

ParseRecord& Record() {
    static ParseRecord record;
    return record;
}

// The child's exit status when the memory limit made the parse fail.
constexpr int kExitOutOfMemory = 3;

// How often the parent looks at the child's memory while it waits for the answer.
constexpr std::chrono::milliseconds kMemoryCheckInterval{10};

struct MemoryUse {
    std::uint64_t size = 0;       // address space, bytes
    std::uint64_t resident = 0;   // resident set, bytes
};

// A process's memory from /proc/<pid>/statm; zeros when it cannot be read. Plain system calls
// only: the child calls this right after fork.
MemoryUse ReadMemoryUse(const char* statm) {
    const int fd = open(statm, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char text[160];
    const ssize_t got = read(fd, text, sizeof text - 1);
    close(fd);
    if (got <= 0) return {};
    std::uint64_t fields[2] = {0, 0};
    ssize_t at = 0;
    for (std::uint64_t& field : fields) {
        while (at < got && text[at] == ' ') ++at;
        while (at < got && text[at] >= '0' && text[at] <= '9') field = field * 10 + static_cast<unsigned>(text[at++] - '0');
    }
    const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    return {fields[0] * page, fields[1] * page};
}

bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, p, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        p += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Puts the limits on the child itself.
void LimitChild(const ParseLimits& limits, pid_t parent) {
    // A child whose program died stops too.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    // A crashing parser is an expected outcome here, not worth a core file.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // The memory limit counts only what the child adds to the address space it inherits: the
    // program it was forked from already maps its libraries, GL driver and thread stacks
    // (hundreds of MB), and under a sanitizer many TB of reservations. A request past it fails
    // at once, so a count of billions never touches the machine's memory.
    if (const MemoryUse inherited = ReadMemoryUse("/proc/self/statm"); inherited.size > 0) {
        const rlimit memory{inherited.size + limits.memoryBytes, inherited.size + limits.memoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    // The parent kills a child that runs past the time limit; the CPU limit ends a spinning
    // parser should the parent fail to.
    const auto seconds = static_cast<rlim_t>(std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 1);
    const rlimit cpu{seconds, seconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
}

bool IsOutOfMemory(const std::exception_ptr& error) {
    if (!error) return false;
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
    }
    return false;
}

// The child's side: parse, then write the scene as assimp's binary dump, preceded by its
// size. Never returns.
[[noreturn]] void ParseForParent(const std::string& bytes, int fd, const ParseLimits& limits, pid_t parent) {
    // A crash ends the child quietly; the parent sees a short answer.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(signal, SIG_DFL);
    LimitChild(limits, parent);
    int status = 1;
    try {
        if (Record().childHook) Record().childHook();
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), kImportFlags, "x");
        if (scene) {
            Assimp::Exporter exporter;
            const aiExportDataBlob* blob = exporter.ExportToBlob(scene, "assbin");
            if (blob) {
                const std::uint64_t size = blob->size;
                if (WriteAll(fd, &size, sizeof size) && WriteAll(fd, blob->data, blob->size)) status = 0;
            }
        } else if (IsOutOfMemory(importer.GetException())) {
            status = kExitOutOfMemory;
        }
    } catch (const std::bad_alloc&) {
        status = kExitOutOfMemory;
    } catch (...) {
    }
    _exit(status);
}

// Reads the child's answer until it closes the pipe, while watching the clock and how much
// memory the child holds beyond the `inherited` resident set. The address-space limit alone
// misses memory reserved before the fork and filled afterwards (a sanitizer's allocator
// works that way).
ParseEnd Collect(int fd, pid_t child, const ParseLimits& limits, std::uint64_t inherited, std::string* out) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char statm[48];
    std::snprintf(statm, sizeof statm, "/proc/%d/statm", static_cast<int>(child));
    char buffer[65536];
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return ParseEnd::OverTime;
        if (ReadMemoryUse(statm).resident > inherited + limits.memoryBytes) return ParseEnd::OverMemory;
        const auto wait = std::min(std::chrono::ceil<std::chrono::milliseconds>(deadline - now), kMemoryCheckInterval);
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(wait.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return ParseEnd::Failed;
        if (ready == 0) continue;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ParseEnd::Failed;
        if (got == 0) return ParseEnd::Answered;   // whether the answer is whole, its size says
        out->append(buffer, static_cast<size_t>(got));
    }
}

// Runs the child and returns its answer (the dump without its size) when it gave a whole one.
ParseEnd ParseInChild(const std::string& bytes, std::string* answer) {
    const ParseLimits limits = Limits();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return ParseEnd::Failed;
    const std::uint64_t inherited = ReadMemoryUse("/proc/self/statm").resident;
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        ParseForParent(bytes, fds[1], limits, parent);
    }
    close(fds[1]);
    if (child < 0) {
        // Parsing here instead would run without any limit: the load fails.
        close(fds[0]);
        return ParseEnd::Failed;
    }
    ++Record().started;
    ParseEnd end = Collect(fds[0], child, limits, inherited, answer);
    close(fds[0]);
    if (end != ParseEnd::Answered) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (end != ParseEnd::Answered) return end;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kExitOutOfMemory) return ParseEnd::OverMemory;
    // The size in front tells a whole answer from one the child did not finish.
    std::uint64_t size = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer->size() < sizeof size) return ParseEnd::Failed;
    std::memcpy(&size, answer->data(), sizeof size);
    if (size != answer->size() - sizeof size) return ParseEnd::Failed;
    answer->erase(0, sizeof size);
    return ParseEnd::Answered;
}

// The show loads the same small files again and again (every lamp is the same model), so
// the last few answers are kept, keyed by the file's whole content.
struct ParsedAnswer {
    std::string bytes;    // the file
    std::string answer;   // the child's dump of it
};

std::deque<ParsedAnswer>& RecentAnswers() {
    static std::deque<ParsedAnswer> recent;
    return recent;
}

void RememberAnswer(const std::string& bytes, const std::string& answer) {
    constexpr size_t kEntries = 8, kLargest = 1 << 20;
    if (bytes.size() > kLargest || answer.size() > 4 * kLargest) return;
    std::deque<ParsedAnswer>& recent = RecentAnswers();
    recent.push_front({bytes, answer});
    if (recent.size() > kEntries) recent.pop_back();
}

// Files that failed, by their content: its size and two independent 64-bit hashes of it
// (a file that failed may be large; a false match would need both hashes to collide).
struct ContentKey {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;   // the standard library's
    std::uint64_t fnv = 0;    // FNV-1a
    bool operator==(const ContentKey&) const = default;
};

ContentKey KeyOf(std::string_view bytes) {
    std::uint64_t fnv = 0xcbf29ce484222325u;
    for (const char c : bytes) fnv = (fnv ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    return {bytes.size(), std::hash<std::string_view>{}(bytes), fnv};
}

std::deque<ContentKey>& FailedFiles() {
    static std::deque<ContentKey> failed;
    return failed;
}

void RememberFailure(const ContentKey& key) {
    constexpr size_t kEntries = 64;
    std::deque<ContentKey>& failed = FailedFiles();
    failed.push_front(key);
    if (failed.size() > kEntries) failed.pop_back();
}

std::unique_ptr<Assimp::Importer> ReadAnswer(const std::string& answer) {
    auto importer = std::make_unique<Assimp::Importer>();
    if (!importer->ReadFileFromMemory(answer.data(), answer.size(), aiProcess_ValidateDataStructure, "assbin"))
        return nullptr;
    return importer;
}

}  // namespace

std::unique_ptr<Assimp::Importer> ParseXFileBytes(const std::string& bytes) {
    ParseRecord& record = Record();
    for (const ParsedAnswer& known : RecentAnswers())
        if (known.bytes == bytes) {
            record.lastEnd = ParseEnd::Answered;
            return ReadAnswer(known.answer);
        }
    const ContentKey key = KeyOf(bytes);
    const std::deque<ContentKey>& failed = FailedFiles();
    if (std::find(failed.begin(), failed.end(), key) != failed.end()) {
        record.lastEnd = ParseEnd::Remembered;
        return nullptr;
    }
    const int started = record.started;
    std::string answer;
    record.lastEnd = ParseInChild(bytes, &answer);
    std::unique_ptr<Assimp::Importer> parsed;
    if (record.lastEnd == ParseEnd::Answered) {
        parsed = ReadAnswer(answer);
        if (parsed)
            RememberAnswer(bytes, answer);
        else
            record.lastEnd = ParseEnd::Failed;
    }
    // A child that never started says nothing about the file: it may load next time.
    if (!parsed && record.started != started) RememberFailure(key);
    return parsed;
}

void d3drmtest::SetParseLimits(const ParseLimits& limits) { Limits() = limits; }
void d3drmtest::SetParseChildHook(void (*hook)()) { Record().childHook = hook; }
int d3drmtest::ParsesStarted() { return Record().started; }
ParseEnd d3drmtest::LastParseEnd() { return Record().lastEnd; }
