// A child process for end-to-end tests: started with fork/exec in a chosen folder with an
// adjusted environment, its stderr captured, waited for with a time-out, and never left
// behind: the destructor kills it, and the kernel kills it if the test process dies first.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vlx_test {

// How a child ended, or that it had not ended when the wait gave up.
struct ExitStatus {
    enum class How { Exited, Signalled, StillRunning };
    How how = How::StillRunning;
    int value = 0;   // the exit code or the signal number

    static ExitStatus Exited(int code) { return {How::Exited, code}; }
    bool operator==(const ExitStatus&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ExitStatus& status);

struct ProcessOptions {
    std::string workingDirectory;                 // empty: the test's own
    std::map<std::string, std::string> setEnv;    // added to (or replacing in) the test's environment
    std::vector<std::string> unsetEnv;            // removed from it
    int inheritFd = -1;                           // a descriptor the child keeps, under the same number
    int deathSignal = SIGKILL;                    // sent to the child when the test process dies
    bool discardStdout = false;                   // otherwise it shares the test's stdout
};

class Process {
public:
    // Throws std::runtime_error when the program cannot be started (the message says why).
    explicit Process(std::vector<std::string> argv, const ProcessOptions& options = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Running();
    // Waits up to `timeout` for the child to end; StillRunning if it did not.
    ExitStatus Wait(std::chrono::milliseconds timeout);
    void Signal(int signal);
    // Asks with `signal`, waits up to `grace`, then kills; the child is reaped either way.
    void Stop(int signal, std::chrono::milliseconds grace);
    // Everything the child has written to stderr so far.
    std::string Stderr() const;
    const std::string& Name() const { return name_; }
    pid_t Pid() const { return pid_; }

private:
    bool Reap(bool block);

    std::string name_;
    pid_t pid_ = -1;
    int stderrFd_ = -1;
    bool reaped_ = false;
    ExitStatus status_;
};

}  // namespace vlx_test
