#include "tests/support/pulse_server.h"

#include <signal.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tests/support/wait.h"

namespace vlx_test {

namespace {

constexpr std::chrono::milliseconds kStartTimeout(20000);
constexpr std::chrono::milliseconds kCommandTimeout(10000);

std::string MakeFolder(const char* pattern) {
    std::string name = std::string("/tmp/") + pattern;
    if (!mkdtemp(name.data())) throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    return name;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

// libpulse would otherwise start a server of its own when ours cannot be reached.
std::string WriteClientConfig(const std::string& folder) {
    const std::string path = folder + "/client.conf";
    WriteFile(path, "autospawn = no\n");
    return path;
}

void Export(const std::map<std::string, std::string>& environment) {
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace

PulseServer::PulseServer() {
    folder_ = MakeFolder("vlx-pulse-XXXXXX");
    std::filesystem::create_directories(folder_ + "/run");
    std::filesystem::create_directories(folder_ + "/home");
    WriteClientConfig(folder_);
    // A null sink is the loudspeaker. Its idle clock would run ahead; a loopback into a
    // second null sink keeps it in step. The remapped monitor makes a listed capture source.
    WriteFile(folder_ + "/test.pa",
              "load-module module-native-protocol-unix auth-anonymous=1\n"
              "load-module module-null-sink sink_name=testsink\n"
              "load-module module-null-sink sink_name=drain\n"
              "load-module module-loopback source=testsink.monitor sink=drain latency_msec=10\n"
              "load-module module-remap-source master=testsink.monitor source_name=testmic\n"
              "set-default-sink testsink\n"
              "set-default-source testmic\n");
    try {
        Start();
    } catch (...) {
        std::filesystem::remove_all(folder_);
        throw;
    }
}

void PulseServer::Start() {
    ProcessOptions options;
    options.setEnv["XDG_RUNTIME_DIR"] = folder_ + "/run";
    options.setEnv["HOME"] = folder_ + "/home";
    options.discardStdout = true;
    options.deathSignal = SIGTERM;
    try {
        server_ = std::make_unique<Process>(std::vector<std::string>{"pulseaudio", "-n", "-F", folder_ + "/test.pa",
                                                                     "--daemonize=no", "--exit-idle-time=-1"},
                                            options);
        const bool up = WaitUntil(
            [&] { return std::filesystem::exists(folder_ + "/run/pulse/native") && Pactl({"info"}) == 0; },
            kStartTimeout, std::chrono::milliseconds(20));
        if (!up) throw std::runtime_error("pulseaudio did not come up: " + server_->Stderr());
        // Wakes the null sink's clock once, so that the first stream starts in step.
        Pactl({"suspend-sink", "testsink", "1"});
        Pactl({"suspend-sink", "testsink", "0"});
    } catch (...) {
        server_.reset();
        throw;
    }
}

void PulseServer::Restart() {
    server_->Stop(SIGTERM, std::chrono::milliseconds(5000));
    server_.reset();
    // The old socket stays behind; the new server comes up when it answers there again.
    Start();
}

PulseServer::~PulseServer() {
    if (server_) server_->Stop(SIGTERM, std::chrono::milliseconds(5000));
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::map<std::string, std::string> PulseServer::ClientEnvironment() const {
    return {{"PULSE_SERVER", "unix:" + folder_ + "/run/pulse/native"},
            {"PULSE_CLIENTCONFIG", folder_ + "/client.conf"},
            {"SDL_AUDIODRIVER", "pulseaudio"}};
}

void PulseServer::UseInThisProcess() const { Export(ClientEnvironment()); }

int PulseServer::Pactl(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv{"pactl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ProcessOptions options;
    options.setEnv = ClientEnvironment();
    options.discardStdout = true;
    Process pactl(argv, options);
    const ExitStatus status = pactl.Wait(kCommandTimeout);
    return status.how == ExitStatus::How::Exited ? status.value : -1;
}

bool PulseServer::ClientHasStream(const std::string& kind) const {
    // A client's stream comes over the native protocol; the server's loopback is a module.
    ProcessOptions options;
    options.setEnv = ClientEnvironment();
    options.discardStdout = true;
    Process shell({"sh", "-c", "pactl list short " + kind + " | grep -q protocol-native"}, options);
    return shell.Wait(kCommandTimeout) == ExitStatus::Exited(0);
}

NoSoundOutput::NoSoundOutput() {
    folder_ = MakeFolder("vlx-nosound-XXXXXX");
    WriteClientConfig(folder_);
}

NoSoundOutput::~NoSoundOutput() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::map<std::string, std::string> NoSoundOutput::ClientEnvironment() const {
    return {{"PULSE_SERVER", "unix:" + folder_ + "/no-server"},
            {"PULSE_CLIENTCONFIG", folder_ + "/client.conf"},
            {"SDL_AUDIODRIVER", "pulseaudio"}};
}

void NoSoundOutput::UseInThisProcess() const { Export(ClientEnvironment()); }

}  // namespace vlx_test
