// A tune written by the test itself: a Standard MIDI File of type 0 at 120 beats a minute
// holding one piano note of two beats (one second).
#pragma once

#include <fstream>
#include <string>

namespace vlx_test {

inline void WriteTinyTune(const std::string& path) {
    static const unsigned char kTune[] = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,   // type 0, one track, 96 ticks a beat
        'M', 'T', 'r', 'k', 0, 0, 0, 23,                     // the track's 23 bytes:
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,            // 500000 µs a beat
        0x00, 0xC0, 0x00,                                    // piano
        0x00, 0x90, 60, 100,                                 // middle C on
        0x81, 0x40, 0x80, 60, 64,                            // off 192 ticks (two beats) later
        0x00, 0xFF, 0x2F, 0x00,                              // end of track
    };
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kTune), sizeof kTune);
}

}  // namespace vlx_test
