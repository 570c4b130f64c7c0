#include "tests/support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tests/support/wait.h"
#include "tests/support/x_client.h"

namespace vlx_test {

namespace {

constexpr std::chrono::milliseconds kStartTimeout(20000);

// Reads what Xvfb writes to its -displayfd descriptor: the display number and a newline.
std::string ReadDisplayNumber(int fd, Process& xvfb) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw std::runtime_error("Xvfb did not report a display in time");
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) throw std::runtime_error("Xvfb ended before reporting a display: " + xvfb.Stderr());
        text.append(buffer, static_cast<size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

XvfbServer::XvfbServer(WindowManager windowManager) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    ProcessOptions options;
    options.inheritFd = pipeFds[1];
    options.deathSignal = SIGTERM;   // lets Xvfb remove its lock file
    try {
        xvfb_ = std::make_unique<Process>(
            std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp"},
            options);
    } catch (...) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        throw;
    }
    close(pipeFds[1]);
    try {
        display_ = ":" + ReadDisplayNumber(pipeFds[0], *xvfb_);
    } catch (...) {
        close(pipeFds[0]);
        throw;
    }
    close(pipeFds[0]);
    if (windowManager == WindowManager::Openbox) {
        try {
            StartOpenbox();
        } catch (...) {
            xvfb_->Stop(SIGTERM, std::chrono::milliseconds(5000));   // the destructor will not run
            throw;
        }
    }
}

void XvfbServer::StartOpenbox() {
    ProcessOptions options;
    options.setEnv["DISPLAY"] = display_;
    options.discardStdout = true;   // its notes about missing menu files
    windowManager_ = std::make_unique<Process>(std::vector<std::string>{"openbox", "--sm-disable"}, options);
    XClient x(display_);
    if (!WaitUntil([&] { return x.WindowManagerRunning() || !windowManager_->Running(); }, kStartTimeout) ||
        !windowManager_->Running())
        throw std::runtime_error("openbox did not come up on " + display_ + ": " + windowManager_->Stderr());
}

XvfbServer::~XvfbServer() {
    if (windowManager_) windowManager_->Stop(SIGTERM, std::chrono::milliseconds(5000));
    if (xvfb_) xvfb_->Stop(SIGTERM, std::chrono::milliseconds(5000));
}

}  // namespace vlx_test
