#include "sound/worker_thread.h"

WorkerThread::WorkerThread() {
    thread = CreateThread(nullptr, 0, ThreadEntry, this, CREATE_SUSPENDED, &threadId);
}

WorkerThread::~WorkerThread() { CloseHandle(thread); }

DWORD WorkerThread::ThreadEntry(LPVOID object) {
    auto* worker = static_cast<WorkerThread*>(object);
    worker->Init();
    worker->Run();
    return 0;
}
