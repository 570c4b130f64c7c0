// The .x parser program: reads one .x file on its standard input, parses it with assimp under
// a memory and a CPU limit, and writes the parts of the scene the loader uses on its standard
// output (xfile_parser_protocol.h). The loader (xfile_parse.cpp) starts it for each file it
// has not seen; assimp is linked into this program only, so the show's process never maps it.
//
// assimp 5.2's .x importer trusts the counts and indices in a file: a malformed one (a skin
// weight naming a vertex past the end, say) makes it write out of bounds, and a count of a few
// hundred million makes it ask for gigabytes at once, or grow until the desktop freezes. Here
// that costs only this process: it may add only so much memory to its own at start, and the
// loader kills it when it takes too long or holds too much.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/d3drm/xfile_data.h"
#include "platform/d3drm/xfile_from_assimp.h"
#include "platform/d3drm/xfile_parser_protocol.h"

#if defined(__SANITIZE_ADDRESS__)
#define VLX_PARSER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VLX_PARSER_ASAN 1
#endif
#endif

#ifdef VLX_PARSER_ASAN
// Under AddressSanitizer a parse past the memory limit ends with a report rather than
// std::bad_alloc, and a broken file may end with one too: expected outcomes that the loader
// counts as failures. Symbolizing each report (a process of its own) would only slow the
// tests and the fuzzer down; ASAN_OPTIONS=symbolize=1 brings the names back.
extern "C" const char* __asan_default_options() { return "symbolize=0"; }
#endif

namespace {

// ConvertToLeftHanded undoes the importer's own conversion to right-handed coordinates: the
// result has the file's coordinates, winding and texture v again. No normals are generated
// here (together with that conversion they would point inwards), and nothing may merge the
// frames that animations refer to.
constexpr unsigned kImportFlags = aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices |
                                  aiProcess_Triangulate | aiProcess_ValidateDataStructure;

struct Options {
    std::uint64_t memoryBytes = 0;    // what the program may add to its address space at start
    std::uint64_t cpuSeconds = 0;
    std::uint64_t parent = 0;         // the loader's process
    std::uint64_t reserveBytes = 0;   // the test switches (xfile_parser_protocol.h)
    std::uint64_t askBytes = 0;
    bool fillReserved = false;
    bool hang = false;
    bool crash = false;
};

bool ReadNumber(const char* text, std::uint64_t* value) {
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtoull(text, &end, 10);
    return errno == 0 && *end == '\0';
}

bool StartsWith(const char* text, const char* prefix, const char** rest) {
    const size_t length = std::strlen(prefix);
    if (std::strncmp(text, prefix, length) != 0) return false;
    *rest = text + length;
    return true;
}

std::optional<Options> ReadOptions(int argc, char** argv) {
    Options options;
    if (argc < 4 || !ReadNumber(argv[1], &options.memoryBytes) || !ReadNumber(argv[2], &options.cpuSeconds) ||
        !ReadNumber(argv[3], &options.parent))
        return std::nullopt;
    for (int i = 4; i < argc; ++i) {
        const char* rest = nullptr;
        bool ok = true;
        if (StartsWith(argv[i], kSwitchReserve, &rest))
            ok = ReadNumber(rest, &options.reserveBytes);
        else if (StartsWith(argv[i], kSwitchAsk, &rest))
            ok = ReadNumber(rest, &options.askBytes);
        else if (std::strcmp(argv[i], kSwitchFill) == 0)
            options.fillReserved = true;
        else if (std::strcmp(argv[i], kSwitchHang) == 0)
            options.hang = true;
        else if (std::strcmp(argv[i], kSwitchCrash) == 0)
            options.crash = true;
        else
            ok = false;
        if (!ok) return std::nullopt;
    }
    return options;
}

// The limits this process puts on itself. The memory limit counts only what it adds to the
// address space it has at start: under a sanitizer that is many TB of reservations already.
// A request past it fails at once, so a count of billions never touches the machine's memory.
// The loader kills a parse that runs past its time limit; the CPU limit ends a spinning parser
// should the loader fail to.
void LimitSelf(const Options& options) {
    if (const ProcessMemory start = ReadProcessMemory("/proc/self/statm"); start.size > 0) {
        const rlimit memory{start.size + options.memoryBytes, start.size + options.memoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit cpu{options.cpuSeconds, options.cpuSeconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
}

char* volatile asked = nullptr;   // kept, so that the test's request is not optimised away

// The test switches' misbehaviour, after the limits are set.
void Misbehave(const Options& options, char* reserved) {
    if (options.askBytes > 0) asked = new char[options.askBytes];
    if (options.crash) std::raise(SIGSEGV);
    if (options.fillReserved && reserved) std::memset(reserved, 1, options.reserveBytes);
    if (options.hang || options.fillReserved)
        for (;;) pause();
}

bool ReadAll(int fd, std::string* bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes->append(buffer, static_cast<size_t>(got));
    }
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

// Parses the file on standard input and writes the answer. Returns the exit status.
int ParseAndAnswer() {
    std::string bytes;
    if (!ReadAll(STDIN_FILENO, &bytes)) return kParserFailed;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), kImportFlags, "x");
    if (!scene || !scene->mRootNode) return IsOutOfMemory(importer.GetException()) ? kParserOutOfMemory : kParserFailed;
    const std::string answer = EncodeXFileScene(SceneFromAssimp(*scene));
    const std::uint64_t size = answer.size();
    if (!WriteAll(STDOUT_FILENO, &size, sizeof size) || !WriteAll(STDOUT_FILENO, answer.data(), answer.size()))
        return kParserFailed;
    // Done: the loader has its answer as soon as the process ends, without freeing the scene.
    _exit(kParserAnswered);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ReadOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s MEMORY_BYTES CPU_SECONDS PARENT_PID < file.x (started by the show)\n", argv[0]);
        return kParserFailed;
    }
    // A parser whose loader died stops too.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (static_cast<std::uint64_t>(getppid()) != options->parent) _exit(kParserFailed);
    // A crash ends the program quietly: an expected outcome here, not worth a core file.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(signal, SIG_DFL);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // Address space reserved before the limit and filled afterwards, as a sanitizer's heap is.
    char* reserved = nullptr;
    if (options->reserveBytes > 0) {
        void* block = mmap(nullptr, options->reserveBytes, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (block != MAP_FAILED) reserved = static_cast<char*>(block);
    }
    LimitSelf(*options);
    int status = kParserFailed;
    try {
        Misbehave(*options, reserved);
        status = ParseAndAnswer();
    } catch (const std::bad_alloc&) {
        status = kParserOutOfMemory;
    } catch (...) {
    }
    // No exit handlers: a leak check at exit would only turn an answer into a failure.
    _exit(status);
}
