// A thread object: the thread is made suspended with the object; once resumed it runs
// Init() and then Run() on it.
#pragma once

#include <atomic>

#include "platform/win32/win32.h"

class WorkerThread {
public:
    WorkerThread();
    // Closes the thread handle; the thread itself is neither stopped nor waited for.
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    virtual void Init() = 0;
    virtual void Run() = 0;
    virtual void Finish() = 0;   // never called

    // Run loops end once this is non-zero. The program never sets it; its threads end with
    // the process.
    std::atomic<int> dying{0};
    HANDLE thread = nullptr;
    DWORD threadId = 0;

private:
    static DWORD ThreadEntry(LPVOID object);
};
