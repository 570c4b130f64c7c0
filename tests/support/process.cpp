#include "tests/support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "tests/support/wait.h"

extern char** environ;

namespace vlx_test {

std::ostream& operator<<(std::ostream& out, const ExitStatus& status) {
    switch (status.how) {
    case ExitStatus::How::Exited: return out << "exited with status " << status.value;
    case ExitStatus::How::Signalled: return out << "killed by signal " << status.value << " (" << strsignal(status.value) << ")";
    case ExitStatus::How::StillRunning: return out << "still running (timed out)";
    }
    return out;
}

namespace {

std::vector<std::string> ChildEnvironment(const ProcessOptions& options) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
    }
    for (const std::string& name : options.unsetEnv) env.erase(name);
    for (const auto& [name, value] : options.setEnv) env[name] = value;
    std::vector<std::string> list;
    for (const auto& [name, value] : env) list.push_back(name + "=" + value);
    return list;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reports errno to the parent through `errorFd` and ends the child.
[[noreturn]] void FailChild(int errorFd) {
    const int error = errno;
    (void)!write(errorFd, &error, sizeof error);
    _exit(127);
}

// Only async-signal-safe calls between fork and exec; a failure is reported through
// `errorFd` (closed on a successful exec) as the errno value.
[[noreturn]] void RunChild(char** argv, char** envp, const ProcessOptions& options, const char* cwd, int stderrFd,
                           int errorFd, pid_t parent) {
    if (prctl(PR_SET_PDEATHSIG, options.deathSignal) != 0) FailChild(errorFd);
    if (getppid() != parent) _exit(127);   // the test died before the line above
    setpgid(0, 0);                         // keeps a terminal's Ctrl+C for the test alone
    if (dup2(stderrFd, STDERR_FILENO) < 0) FailChild(errorFd);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        if (options.discardStdout) dup2(devNull, STDOUT_FILENO);
        if (devNull > STDERR_FILENO) close(devNull);
    }
    if (options.inheritFd >= 0 && fcntl(options.inheritFd, F_SETFD, 0) != 0) FailChild(errorFd);
    if (*cwd && chdir(cwd) != 0) FailChild(errorFd);
    execvpe(argv[0], argv, envp);
    FailChild(errorFd);
}

}  // namespace

Process::Process(std::vector<std::string> argv, const ProcessOptions& options) {
    if (argv.empty()) throw std::runtime_error("no program to start");
    name_ = argv[0];
    std::vector<std::string> env = ChildEnvironment(options);
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);

    char path[] = "/tmp/vlx-stderr-XXXXXX";
    stderrFd_ = mkostemp(path, O_CLOEXEC);
    if (stderrFd_ < 0) throw std::runtime_error(std::string("cannot make a stderr file: ") + std::strerror(errno));
    unlink(path);   // the open descriptor keeps it; nothing stays behind

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        const int error = errno;
        close(errorPipe[0]);
        close(errorPipe[1]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(error));
    }
    if (pid_ == 0)
        RunChild(argvPointers.data(), envPointers.data(), options, options.workingDirectory.c_str(), stderrFd_,
                 errorPipe[1], parent);
    close(errorPipe[1]);
    int childError = 0;
    ssize_t n;
    do n = read(errorPipe[0], &childError, sizeof childError);
    while (n < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (n > 0) {
        Reap(true);
        close(stderrFd_);
        throw std::runtime_error("cannot start " + name_ + ": " + std::strerror(childError));
    }
}

Process::~Process() {
    Stop(SIGKILL, std::chrono::milliseconds(0));
    if (stderrFd_ >= 0) close(stderrFd_);
}

bool Process::Reap(bool block) {
    if (reaped_) return true;
    int status = 0;
    pid_t r;
    do r = waitpid(pid_, &status, block ? 0 : WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    reaped_ = true;
    if (r < 0) status_ = {ExitStatus::How::Signalled, 0};   // not our child any more; cannot happen here
    else if (WIFEXITED(status)) status_ = ExitStatus::Exited(WEXITSTATUS(status));
    else status_ = {ExitStatus::How::Signalled, WTERMSIG(status)};
    return true;
}

bool Process::Running() { return !Reap(false); }

ExitStatus Process::Wait(std::chrono::milliseconds timeout) {
    if (WaitUntil([this] { return Reap(false); }, timeout, std::chrono::milliseconds(10))) return status_;
    return {};
}

void Process::Signal(int signal) {
    if (!reaped_) kill(pid_, signal);
}

void Process::Stop(int signal, std::chrono::milliseconds grace) {
    if (pid_ <= 0 || Reap(false)) return;
    if (signal != SIGKILL) {
        kill(pid_, signal);
        if (Wait(grace).how != ExitStatus::How::StillRunning) return;
    }
    kill(pid_, SIGKILL);
    Reap(true);
}

std::string Process::Stderr() const {
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = pread(stderrFd_, buffer, sizeof buffer, offset);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return text;
}

}  // namespace vlx_test
