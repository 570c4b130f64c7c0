// What tests and benchmarks play into a sound server and read back from the show: a tone as
// a WAV file, and the lamp colours the show reports when PLATFORM_DIAG_VALUES=1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vlx_test {

// Writes `seconds` of a sine tone of `frequency` Hz at 44100 Hz, 16-bit mono, peak `amplitude`.
// It fades in and out over `fadeSeconds` (raised cosine), so that it starts and ends without a
// click, whose energy would spread over every band. Throws std::runtime_error when the file
// cannot be written.
void WriteToneWav(const std::string& path, double frequency, double seconds, int amplitude = 16000,
                  double fadeSeconds = 0.05);

// One presented frame whose lamp colours differed from the frame before.
struct LampFrame {
    std::int64_t presentedNs = 0;   // CLOCK_MONOTONIC
    std::uint32_t lamp[3] = {};     // 0x00RRGG00, 0x0000GGBB, 0x00RR00BB
    int Red() const { return static_cast<int>((lamp[0] >> 16) & 0xFF); }
    int Green() const { return static_cast<int>((lamp[0] >> 8) & 0xFF); }
    int Blue() const { return static_cast<int>(lamp[1] & 0xFF); }
    int Band(int index) const { return index == 0 ? Red() : index == 1 ? Green() : Blue(); }   // 0 red … 2 blue
};
// Every complete "<label> at …" line of a stderr text, in order; other lines are skipped.
// The show's label is "virelux: lamps"; bench_latency's reference program prints the same
// lines under "reference: lamps".
std::vector<LampFrame> ParseLampFrames(const std::string& text, const std::string& label = "virelux: lamps");

}  // namespace vlx_test
