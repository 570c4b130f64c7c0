// Threads and events over the standard library. A handle is the address of a kernel object
// kept in a process-wide table; every call looks its handle up there first, so a stale or
// foreign handle fails cleanly, and an object closed while another thread waits on it lives
// until that wait ends.
// Implements: CreateThread, ResumeThread, CreateEventA, SetEvent, ResetEvent,
// WaitForSingleObject, CloseHandle.
// Leaves out: security attributes, stack sizes and event names (no named events shared
// between processes); of the creation flags only CREATE_SUSPENDED.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/win32/win32.h"

namespace {

// What WaitForSingleObject waits for: an event, or a thread that ends.
struct KernelObject {
    virtual ~KernelObject() = default;

    std::mutex mutex;
    std::condition_variable changed;
    bool signalled = false;
    bool autoReset = false;   // a satisfied wait clears the signal (auto-reset events)
};

struct EventObject final : KernelObject {};

struct ThreadObject final : KernelObject {
    DWORD suspendCount = 0;   // the thread runs its routine once this is 0
    DWORD exitCode = 0;
};

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> objects;
};

// Never destroyed: threads may still run (and wait) while the process exits.
HandleTable& Handles() {
    static HandleTable* table = new HandleTable;
    return *table;
}

HANDLE Register(std::shared_ptr<KernelObject> object) {
    HANDLE handle = object.get();
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    table.objects.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<KernelObject> Find(HANDLE handle) {
    if (!handle) return nullptr;
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    return it == table.objects.end() ? nullptr : it->second;
}

std::shared_ptr<EventObject> FindEvent(HANDLE handle) { return std::dynamic_pointer_cast<EventObject>(Find(handle)); }

std::atomic<DWORD> nextThreadId{1000};

}  // namespace

HANDLE CreateThread(SECURITY_ATTRIBUTES*, std::size_t, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    DWORD* threadId) {
    if (!start) return nullptr;
    auto object = std::make_shared<ThreadObject>();
    object->suspendCount = (flags & CREATE_SUSPENDED) ? 1 : 0;
    const DWORD id = nextThreadId.fetch_add(4, std::memory_order_relaxed);
    try {
        // The thread holds its object: closing the handle neither ends nor frees it.
        std::thread([object, start, parameter] {
            {
                std::unique_lock lock(object->mutex);
                object->changed.wait(lock, [&] { return object->suspendCount == 0; });
            }
            const DWORD code = start(parameter);
            std::lock_guard lock(object->mutex);
            object->exitCode = code;
            object->signalled = true;
            object->changed.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    if (threadId) *threadId = id;
    return Register(std::move(object));
}

DWORD ResumeThread(HANDLE thread) {
    auto object = std::dynamic_pointer_cast<ThreadObject>(Find(thread));
    if (!object) return 0xFFFFFFFFu;
    std::lock_guard lock(object->mutex);
    const DWORD previous = object->suspendCount;
    if (previous > 0 && --object->suspendCount == 0) object->changed.notify_all();
    return previous;
}

HANDLE CreateEventA(SECURITY_ATTRIBUTES*, BOOL manualReset, BOOL initialState, LPCSTR) {
    auto event = std::make_shared<EventObject>();
    event->autoReset = !manualReset;
    event->signalled = initialState != FALSE;
    return Register(std::move(event));
}

BOOL SetEvent(HANDLE handle) {
    auto event = FindEvent(handle);
    if (!event) return FALSE;
    std::lock_guard lock(event->mutex);
    event->signalled = true;
    // Every waiter looks; with auto-reset the first one to see the signal takes it.
    event->changed.notify_all();
    return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
    auto event = FindEvent(handle);
    if (!event) return FALSE;
    std::lock_guard lock(event->mutex);
    event->signalled = false;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto object = Find(handle);
    if (!object) return WAIT_FAILED;
    std::unique_lock lock(object->mutex);
    auto isSignalled = [&] { return object->signalled; };
    if (milliseconds == INFINITE) {
        object->changed.wait(lock, isSignalled);
    } else {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        if (!object->changed.wait_until(lock, deadline, isSignalled)) return WAIT_TIMEOUT;
    }
    if (object->autoReset) object->signalled = false;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    if (!handle) return FALSE;
    HandleTable& table = Handles();
    std::shared_ptr<KernelObject> object;   // released after the table's lock
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end()) return FALSE;
    object = std::move(it->second);
    table.objects.erase(it);
    return TRUE;
}
