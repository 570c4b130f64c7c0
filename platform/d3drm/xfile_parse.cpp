// Parsing a .x file in the parser program (xfile_parser_main.cpp) under a memory and a time
// limit. Internal to platform/d3drm: no platform call; serves the .x loader.
//
// assimp's .x importer writes out of bounds and asks for gigabytes on malformed files, so it
// runs in a program of its own, and only there: the show's process never maps assimp. The
// loader starts the program for each file it has not seen, hands it the file's bytes on its
// standard input and reads the scene's plain data back from its standard output. A parser that
// crashes, stalls or outgrows its limit fails to load like any broken model, and the show
// goes on.
#include "platform/d3drm/xfile_parse.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/xfile_parser_protocol.h"

namespace {

using d3drmtest::ParseEnd;
using d3drmtest::ParseLimits;
using d3drmtest::ParserBehaviour;

// The default limits (d3drm_test.h). The largest real model we know (2.5 MB of text, 6,849
// faces) needs less than 16 MB while parsing and parses in a third of a second: 1 GiB leaves
// room for models many times larger and is still far below a desktop's memory, so a file that
// asks for more is broken; ten seconds leave room for a slow or busy machine.
ParseLimits& Limits() {
    static ParseLimits limits;
    return limits;
}

struct ParseRecord {
    ParserBehaviour behaviour;
    int started = 0;
    ParseEnd lastEnd = ParseEnd::None;
};

ParseRecord& Record() {
    static ParseRecord record;
    return record;
}

// How often the loader looks at the parser's memory while it waits for the answer.
constexpr std::chrono::milliseconds kMemoryCheckInterval{10};

// The parser program: beside the running executable (the staged installation), else where
// the build put it (tests and benchmarks run from folders of their own).
const std::string& ParserProgram() {
    static const std::string program = [] {
        std::error_code error;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) {
            const std::filesystem::path beside = self.parent_path() / kParserProgramName;
            if (access(beside.c_str(), X_OK) == 0) return beside.string();
        }
        return std::string(VLX_XFILE_PARSER);
    }();
    return program;
}

// A file descriptor, closed when it goes.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// The program's command line: the limits, this process, and the test switches.
std::vector<std::string> Arguments(const ParseLimits& limits, const ParserBehaviour& behaviour) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 1;
    std::vector<std::string> args{ParserProgram(), std::to_string(limits.memoryBytes), std::to_string(seconds),
                                  std::to_string(getpid())};
    if (behaviour.reserveBytes > 0) args.push_back(kSwitchReserve + std::to_string(behaviour.reserveBytes));
    if (behaviour.askBytes > 0) args.push_back(kSwitchAsk + std::to_string(behaviour.askBytes));
    if (behaviour.fillReserved) args.emplace_back(kSwitchFill);
    if (behaviour.hang) args.emplace_back(kSwitchHang);
    if (behaviour.crash) args.emplace_back(kSwitchCrash);
    return args;
}

// Starts the parser with `input` as its standard input and `output` as its standard output.
bool Start(const ParseLimits& limits, const ParserBehaviour& behaviour, int input, int output, pid_t* child) {
    std::vector<std::string> args = Arguments(limits, behaviour);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (behaviour.quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // The program starts with no signal blocked, whatever this thread blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int result = posix_spawn(child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

// Hands the parser the file and reads its answer until it closes its output, while watching
// the clock and the parser's resident memory (all of it: the program itself holds a few MB).
// The address-space limit alone misses memory reserved early and filled later (a sanitizer's
// allocator works that way).
ParseEnd Exchange(Fd& input, int output, pid_t child, const ParseLimits& limits, std::string_view bytes,
                  std::string* answer) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char statm[48];
    std::snprintf(statm, sizeof statm, "/proc/%d/statm", static_cast<int>(child));
    size_t sent = 0;
    if (bytes.empty()) input.Close();
    char buffer[65536];
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return ParseEnd::OverTime;
        if (ReadProcessMemory(statm).resident > limits.memoryBytes) return ParseEnd::OverMemory;
        const auto wait = std::min(std::chrono::ceil<std::chrono::milliseconds>(deadline - now), kMemoryCheckInterval);
        pollfd p[2] = {{output, POLLIN, 0}, {input.Get(), POLLOUT, 0}};
        const int ready = poll(p, 2, static_cast<int>(wait.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return ParseEnd::Failed;
        if (ready == 0) continue;
        if (p[1].revents != 0) {
            // A socket rather than a pipe: a parser that stopped reading makes this send fail
            // instead of raising SIGPIPE in the show. Its exit then says why.
            const ssize_t put =
                send(input.Get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (put > 0) sent += static_cast<size_t>(put);
            if ((put < 0 && errno != EAGAIN && errno != EINTR) || sent == bytes.size()) input.Close();
        }
        if (p[0].revents == 0) continue;
        const ssize_t got = read(output, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ParseEnd::Failed;
        if (got == 0) return ParseEnd::Answered;   // whether the answer is whole, its size says
        answer->append(buffer, static_cast<size_t>(got));
    }
}

// Runs the parser and returns its answer (the encoding without its size) when it gave a
// whole one.
ParseEnd RunParser(const std::string& bytes, std::string* answer) {
    const ParseLimits limits = Limits();
    int input[2], output[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0) return ParseEnd::Failed;
    Fd ours(input[0]), theirs(input[1]);
    if (pipe2(output, O_CLOEXEC) != 0) return ParseEnd::Failed;
    Fd answers(output[0]), written(output[1]);
    pid_t child = -1;
    const bool started = Start(limits, Record().behaviour, theirs.Get(), written.Get(), &child);
    theirs.Close();
    written.Close();
    if (!started) return ParseEnd::Failed;
    ++Record().started;
    const ParseEnd end = Exchange(ours, answers.Get(), child, limits, bytes, answer);
    if (end != ParseEnd::Answered) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (end != ParseEnd::Answered) return end;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kParserOutOfMemory) return ParseEnd::OverMemory;
    // The size in front tells a whole answer from one the parser did not finish.
    std::uint64_t size = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != kParserAnswered || answer->size() < sizeof size)
        return ParseEnd::Failed;
    std::memcpy(&size, answer->data(), sizeof size);
    if (size != answer->size() - sizeof size) return ParseEnd::Failed;
    answer->erase(0, sizeof size);
    return ParseEnd::Answered;
}

// The show loads the same small files again and again (every lamp is the same model), so
// the last few answers are kept, keyed by the file's whole content.
struct ParsedAnswer {
    std::string bytes;    // the file
    std::string answer;   // the parser's encoding of it
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

}  // namespace

std::optional<XFileScene> ParseXFileBytes(const std::string& bytes) {
    ParseRecord& record = Record();
    for (const ParsedAnswer& known : RecentAnswers())
        if (known.bytes == bytes) {
            record.lastEnd = ParseEnd::Answered;
            return DecodeXFileScene(known.answer);
        }
    const ContentKey key = KeyOf(bytes);
    const std::deque<ContentKey>& failed = FailedFiles();
    if (std::find(failed.begin(), failed.end(), key) != failed.end()) {
        record.lastEnd = ParseEnd::Remembered;
        return std::nullopt;
    }
    const int started = record.started;
    std::string answer;
    record.lastEnd = RunParser(bytes, &answer);
    std::optional<XFileScene> parsed;
    if (record.lastEnd == ParseEnd::Answered) {
        parsed = DecodeXFileScene(answer);
        if (parsed)
            RememberAnswer(bytes, answer);
        else
            record.lastEnd = ParseEnd::Failed;
    }
    // A parser that never started says nothing about the file: it may load next time.
    if (!parsed && record.started != started) RememberFailure(key);
    return parsed;
}

void d3drmtest::SetParseLimits(const ParseLimits& limits) { Limits() = limits; }
void d3drmtest::SetParserBehaviour(const ParserBehaviour& behaviour) { Record().behaviour = behaviour; }
int d3drmtest::ParsesStarted() { return Record().started; }
ParseEnd d3drmtest::LastParseEnd() { return Record().lastEnd; }
