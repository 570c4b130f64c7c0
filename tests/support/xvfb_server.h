// A private X server for one test: Xvfb picks a free display number itself (-displayfd), so
// tests running side by side never race for one. Optionally with openbox on it, which
// minimising, restoring and raising windows need. Both are stopped by their PID.
#pragma once

#include <memory>
#include <string>

#include "tests/support/process.h"

namespace vlx_test {

class XvfbServer {
public:
    enum class WindowManager { None, Openbox };

    // Throws std::runtime_error when the server (or the window manager) does not come up.
    explicit XvfbServer(WindowManager windowManager = WindowManager::None);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The DISPLAY value, such as ":3".
    const std::string& Display() const { return display_; }

private:
    void StartOpenbox();

    std::unique_ptr<Process> xvfb_;
    std::unique_ptr<Process> windowManager_;
    std::string display_;
};

}  // namespace vlx_test
