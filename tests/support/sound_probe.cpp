#include "tests/support/sound_probe.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace vlx_test {

void WriteToneWav(const std::string& path, double frequency, double seconds, int amplitude, double fadeSeconds) {
    constexpr int kRate = 44100;
    const int frames = static_cast<int>(seconds * kRate);
    const double fadeFrames = std::max(1.0, fadeSeconds * kRate);
    std::vector<std::int16_t> data(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double edge = std::min(1.0, std::min(i, frames - 1 - i) / fadeFrames);
        const double gain = 0.5 - 0.5 * std::cos(M_PI * edge);
        data[static_cast<size_t>(i)] =
            static_cast<std::int16_t>(std::lround(gain * amplitude * std::sin(2 * M_PI * frequency * i / kRate)));
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    const std::uint32_t bytes = static_cast<std::uint32_t>(frames) * 2;
    auto put32 = [&](std::uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto put16 = [&](std::uint16_t v) { std::fwrite(&v, 2, 1, f); };
    std::fwrite("RIFF", 1, 4, f), put32(36 + bytes), std::fwrite("WAVEfmt ", 1, 8, f), put32(16);
    put16(1), put16(1), put32(kRate), put32(kRate * 2), put16(2), put16(16);
    std::fwrite("data", 1, 4, f), put32(bytes);
    const bool written = std::fwrite(data.data(), 2, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + path);
}

std::vector<LampFrame> ParseLampFrames(const std::string& text, const std::string& label) {
    const std::string format = label + " at %lld ns: %" SCNx32 " %" SCNx32 " %" SCNx32;
    std::vector<LampFrame> frames;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        LampFrame f;
        long long ns = 0;
        if (line.compare(0, label.size(), label) == 0 &&
            std::sscanf(line.c_str(), format.c_str(), &ns, &f.lamp[0], &f.lamp[1], &f.lamp[2]) == 4) {
            f.presentedNs = ns;
            frames.push_back(f);
        }
    }
    return frames;
}

}  // namespace vlx_test
