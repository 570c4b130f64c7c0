// A private PulseAudio server for one test: a null sink "testsink" (the default sink) whose
// monitor is also offered as the default source "testmic", so whatever a test plays can be
// recorded back. It lives in a folder of its own and is stopped by its PID.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace vlx_test {

class PulseServer {
public:
    // Throws std::runtime_error when the server does not come up.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // What a client needs to reach this server and nothing else: PULSE_SERVER, a client
    // configuration without autospawn, and SDL's audio driver set to pulseaudio.
    std::map<std::string, std::string> ClientEnvironment() const;
    // Puts ClientEnvironment() into this process's own environment (before SDL's audio starts).
    void UseInThisProcess() const;

    // Ends the server and starts it again with its first set-up, at the same address.
    void Restart();

    // Runs pactl against this server; its exit status (-1 when it did not end in time).
    int Pactl(const std::vector<std::string>& arguments) const;
    // Whether a client (not one of the server's own modules) has a stream of `kind` open:
    // "sink-inputs" for playback, "source-outputs" for recording.
    bool ClientHasStream(const std::string& kind) const;

    const std::string& Folder() const { return folder_; }

private:
    void Start();

    std::string folder_;
    std::unique_ptr<Process> server_;
};

// A machine without any sound output, for the clients of one test: SDL is told to use
// PulseAudio, which finds no server (and starts none).
class NoSoundOutput {
public:
    NoSoundOutput();
    ~NoSoundOutput();
    NoSoundOutput(const NoSoundOutput&) = delete;
    NoSoundOutput& operator=(const NoSoundOutput&) = delete;

    std::map<std::string, std::string> ClientEnvironment() const;
    void UseInThisProcess() const;

private:
    std::string folder_;
};

}  // namespace vlx_test
