// A tune written by the test itself: a Standard MIDI File of type 0 at 120 beats a minute
// holding one piano note of `quarterNotes` beats (two beats: one second).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vlx_test {

inline std::vector<std::uint8_t> TinyTune(int quarterNotes = 2) {
    const int length = 96 * quarterNotes;   // 96 ticks a beat
    std::vector<std::uint8_t> track = {
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,   // 500000 µs a beat
        0x00, 0xC0, 0x00,                           // piano
        0x00, 0x90, 60, 100,                        // middle C on
    };
    // The delta time as a variable-length quantity.
    std::vector<std::uint8_t> delta;
    for (int v = length; v; v >>= 7) delta.insert(delta.begin(), static_cast<std::uint8_t>((v & 0x7F) | (delta.empty() ? 0 : 0x80)));
    if (delta.empty()) delta.push_back(0);
    track.insert(track.end(), delta.begin(), delta.end());
    track.insert(track.end(), {0x80, 60, 64, 0x00, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    const auto size = static_cast<std::uint32_t>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<std::uint8_t>(size >> shift));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

inline void WriteTinyTune(const std::string& path, int quarterNotes = 2) {
    const std::vector<std::uint8_t> bytes = TinyTune(quarterNotes);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vlx_test
