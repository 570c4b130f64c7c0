// Finding a window of another process: each top-level window of a registered class listens
// on a local socket keyed by user, display and class name, and answers the few requests
// that FindWindowA, IsIconic, SetForegroundWindow and ShowWindow need — nothing else.
// A thread answers, so a window stays findable while a modal box runs; requests that act
// on the window travel to the GUI thread as SDL events.
// Internal to platform/win32: no call of its own; it serves FindWindowA, IsIconic,
// SetForegroundWindow, GetLastActivePopup and ShowWindow on another process's window.
#include <SDL.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

enum UserEventCode { kRaise = 1, kRestore = 2, kMinimize = 3, kShow = 4, kIconic = 5 };

struct Server {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> iconic{false};
    // An ICONIC request asks the GUI thread, which knows the window's state from the events
    // it has read by then; `iconicAnswers` counts its answers.
    std::mutex answerLock;
    std::condition_variable answered;
    unsigned iconicAnswers = 0;
    std::string address;
    std::string title;
    std::mutex titleLock;
};

void Stop(Server& server) {
    server.stop = true;
    if (server.thread.joinable()) server.thread.join();
    close(server.fd);
}

// The servers of this process's windows; any still running at exit are stopped then.
struct ServerRegistry {
    std::map<HWND, std::unique_ptr<Server>> servers;
    ~ServerRegistry() {
        for (auto& entry : servers) Stop(*entry.second);
    }
};

std::map<HWND, std::unique_ptr<Server>>& Servers() {
    static ServerRegistry registry;
    return registry.servers;
}

// Abstract socket addresses vanish with their process, so a stale one cannot exist.
sockaddr_un AddressFor(const std::string& key, socklen_t* length) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const size_t n = std::min(key.size(), sizeof(addr.sun_path) - 2);
    std::memcpy(addr.sun_path + 1, key.data(), n);
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return addr;
}

void PushWindowEvent(HWND hwnd, int code, Server* server = nullptr) {
    SDL_Event e{};
    e.type = W32().userEventType;
    e.user.code = code;
    e.user.data1 = hwnd;
    e.user.data2 = server;
    SDL_PushEvent(&e);
}

void Answer(HWND hwnd, Server& server, int client) {
    char request[32] = {};
    pollfd p{client, POLLIN, 0};
    if (poll(&p, 1, 500) <= 0) return;
    const ssize_t n = read(client, request, sizeof(request) - 1);
    if (n <= 0) return;
    std::string reply = "1";
    if (std::strncmp(request, "TITLE", 5) == 0) {
        std::lock_guard<std::mutex> guard(server.titleLock);
        reply = server.title;
    } else if (std::strncmp(request, "ICONIC", 6) == 0) {
        // The window manager may have iconified the window a moment ago; the GUI thread
        // reads that from the window system first. A busy GUI thread leaves the last known state.
        std::unique_lock<std::mutex> lock(server.answerLock);
        const unsigned before = server.iconicAnswers;
        PushWindowEvent(hwnd, kIconic, &server);
        server.answered.wait_for(lock, std::chrono::milliseconds(500), [&] { return server.iconicAnswers != before; });
        reply = server.iconic ? "1" : "0";
    } else if (std::strncmp(request, "FOREGROUND", 10) == 0) {
        PushWindowEvent(hwnd, kRaise);
    } else if (std::strncmp(request, "RESTORE", 7) == 0) {
        PushWindowEvent(hwnd, kRestore);
    } else if (std::strncmp(request, "MINIMIZE", 8) == 0) {
        PushWindowEvent(hwnd, kMinimize);
    } else if (std::strncmp(request, "SHOW", 4) == 0) {
        PushWindowEvent(hwnd, kShow);
    } else {
        reply = "0";
    }
    (void)!write(client, reply.data(), reply.size());
}

void Serve(HWND hwnd, Server* server) {
    while (!server->stop) {
        pollfd p{server->fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        const int client = accept(server->fd, nullptr, nullptr);
        if (client < 0) continue;
        Answer(hwnd, *server, client);
        close(client);
    }
}

}  // namespace

namespace win32_internal {

std::string InstanceAddress(const std::string& className) {
    const char* display = std::getenv("DISPLAY");
    std::string key = "win32-window/" + std::to_string(getuid()) + "/" + (display ? display : "") + "/";
    for (char c : className) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

InstanceClaim StartInstanceServer(HWND hwnd) {
    const std::string address = InstanceAddress(hwnd->windowClass->name);
    // Another window of this process holds the address already and answers for the class.
    for (auto& entry : Servers())
        if (entry.second->address == address) return InstanceClaim::Claimed;
    socklen_t length = 0;
    const sockaddr_un addr = AddressFor(address, &length);
    // Two programs may create their windows at the same moment: the first bind wins. The
    // loser asks the winner forward; a winner that is still between bind and listen, or one
    // whose window is going away, is given a moment before the address counts as free.
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return InstanceClaim::Unavailable;
        if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0) {
            if (listen(fd, 8) != 0) {
                const int error = errno;
                close(fd);
                errno = error;
                return InstanceClaim::Unavailable;
            }
            auto server = std::make_unique<Server>();
            server->fd = fd;
            server->address = address;
            server->title = hwnd->title;
            Server* raw = server.get();
            server->thread = std::thread(Serve, hwnd, raw);
            Servers()[hwnd] = std::move(server);
            return InstanceClaim::Claimed;
        }
        const int error = errno;
        close(fd);
        if (error != EADDRINUSE) {
            errno = error;
            return InstanceClaim::Unavailable;
        }
        if (RemoteRequest(address, "FOREGROUND", nullptr)) return InstanceClaim::Taken;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    errno = EADDRINUSE;   // held by something that never answers
    return InstanceClaim::Unavailable;
}

void StopInstanceServer(HWND hwnd) {
    auto it = Servers().find(hwnd);
    if (it == Servers().end()) return;
    Stop(*it->second);
    Servers().erase(it);
}

// Keeps what the server thread reports in step with the window.
void NoteWindowState(HWND hwnd) {
    auto it = Servers().find(hwnd);
    if (it == Servers().end()) return;
    it->second->iconic = hwnd->minimized;
    std::lock_guard<std::mutex> guard(it->second->titleLock);
    it->second->title = hwnd->title;
}

bool RemoteRequest(const std::string& address, const char* request, std::string* reply) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    socklen_t length = 0;
    const sockaddr_un addr = AddressFor(address, &length);
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0 &&
              write(fd, request, std::strlen(request)) == static_cast<ssize_t>(std::strlen(request));
    if (ok) {
        char buffer[512];
        pollfd p{fd, POLLIN, 0};
        ok = poll(&p, 1, 2000) > 0;
        const ssize_t n = ok ? read(fd, buffer, sizeof(buffer)) : -1;
        ok = n >= 0;
        if (ok && reply) reply->assign(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return ok;
}

void HandleUserEvent(const SDL_Event& e) {
    HWND w = LiveWindow(static_cast<HWND>(e.user.data1));
    if (!w || !w->sdl) return;
    switch (e.user.code) {
    case kRaise:
        SDL_RaiseWindow(w->sdl);
        RaiseOpenBoxes();   // a modal box stays over the window it belongs to
        break;
    case kRestore:
        SDL_RestoreWindow(w->sdl);
        SDL_RaiseWindow(w->sdl);
        RaiseOpenBoxes();
        break;
    case kMinimize: SDL_MinimizeWindow(w->sdl); break;
    case kShow: SDL_ShowWindow(w->sdl); break;
    case kIconic: {
        auto it = Servers().find(w);
        if (it == Servers().end() || it->second.get() != e.user.data2) break;   // that server has stopped
        Server& server = *it->second;
        std::lock_guard<std::mutex> guard(server.answerLock);
        server.iconic = (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) != 0;
        ++server.iconicAnswers;
        server.answered.notify_all();
        break;
    }
    default: break;
    }
}

}  // namespace win32_internal
