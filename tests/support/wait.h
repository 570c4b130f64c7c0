// Polling with a deadline: the tests wait for what a real program does in its own time.
#pragma once

#include <chrono>
#include <thread>

namespace vlx_test {

// Calls `condition` until it holds or `timeout` has passed; true when it held.
// The condition is always asked once more at the deadline.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

}  // namespace vlx_test
