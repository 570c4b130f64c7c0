// Internal to platform/d3drm: what the loader (xfile_parse.cpp) and the .x parser program
// (xfile_parser_main.cpp) agree on.
//
// The loader starts the program as
//     xfile-parser MEMORY_BYTES CPU_SECONDS PARENT_PID [TEST SWITCHES]
// writes the file's bytes to its standard input and closes it. The program answers on its
// standard output with the answer's size (8 bytes) and the scene's encoding (xfile_data.h),
// then exits with kParserAnswered; any other exit means no answer.
#pragma once

#include <cstdint>

#include <fcntl.h>
#include <unistd.h>

// The program's file name, beside the running executable or at its build path.
inline constexpr char kParserProgramName[] = "xfile-parser";

// Exit statuses.
inline constexpr int kParserAnswered = 0;
inline constexpr int kParserFailed = 1;        // the file did not parse, or the answer was not written
inline constexpr int kParserOutOfMemory = 3;   // the memory limit made the parse fail

// Switches for the limits tests only: each makes the program misbehave in one way before it
// parses (d3drmtest::ParserBehaviour says what each does). The number follows '='.
inline constexpr char kSwitchReserve[] = "--test-reserve-bytes=";
inline constexpr char kSwitchAsk[] = "--test-ask-bytes=";
inline constexpr char kSwitchFill[] = "--test-fill-reserved";
inline constexpr char kSwitchHang[] = "--test-hang";
inline constexpr char kSwitchCrash[] = "--test-crash";

struct ProcessMemory {
    std::uint64_t size = 0;       // address space, bytes
    std::uint64_t resident = 0;   // resident set, bytes
};

// A process's memory from its /proc/<pid>/statm; zeros when it cannot be read.
inline ProcessMemory ReadProcessMemory(const char* statm) {
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
