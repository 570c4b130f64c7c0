// The work of one captured buffer on the capture thread (slide the window, transform it,
// analyse the bands) beside FFTW's 1024-point complex transform as the yardstick.
#include <cmath>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include "sound/analysis.h"
#include "sound/wave_recorder.h"

namespace {

// Eight buffers of a chord with some noise, as the ring delivers them.
std::vector<std::vector<char>> MusicBuffers() {
    std::vector<std::vector<char>> buffers(8, std::vector<char>(512));
    std::uint32_t noise = 12345;
    for (int b = 0; b < 8; ++b) {
        for (int k = 0; k < 256; ++k) {
            const double t = (b * 256 + k) / 11025.0;
            noise = noise * 1664525u + 1013904223u;
            const double value = 6000 * std::sin(2 * M_PI * 110 * t) + 4000 * std::sin(2 * M_PI * 440 * t) +
                                 2500 * std::sin(2 * M_PI * 1200 * t) + static_cast<int>(noise >> 20) - 2048;
            const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value)));
            buffers[b][2 * k] = static_cast<char>(sample & 0xFF);
            buffers[b][2 * k + 1] = static_cast<char>(sample >> 8);
        }
    }
    return buffers;
}

void AnalyseBuffer(benchmark::State& state, bool baseline) {
    Pcm16Recorder recorder(256, 11025, 1);
    SpectrumTransform transform(1024, 11025);
    if (baseline) transform.UseBaselineInstructions();
    const auto buffers = MusicBuffers();
    std::uint32_t bandSums[3];
    int next = 0;
    for (auto _ : state) {
        SampleCursor cursor(recorder, buffers[next].data());
        next = (next + 1) % 8;
        transform.CopyIn(cursor);
        Analyse(bandSums, transform);
        benchmark::DoNotOptimize(bandSums);
        benchmark::ClobberMemory();
    }
}

// Slide, transform and analyse one 256-sample buffer, as the capture loop does.
void BM_CopyInAndAnalyse(benchmark::State& state) {
    AnalyseBuffer(state, false);
}
BENCHMARK(BM_CopyInAndAnalyse);

// The same with the butterflies two at a time, as on a processor without AVX2.
void BM_CopyInAndAnalyseBaseline(benchmark::State& state) {
    AnalyseBuffer(state, true);
}
BENCHMARK(BM_CopyInAndAnalyseBaseline);

// FFTW's 1024-point complex forward transform, planned with FFTW_MEASURE.
void BM_FftwComplex1024(benchmark::State& state) {
    fftw_complex* in = fftw_alloc_complex(1024);
    fftw_complex* out = fftw_alloc_complex(1024);
    fftw_plan plan = fftw_plan_dft_1d(1024, in, out, FFTW_FORWARD, FFTW_MEASURE);
    const auto buffers = MusicBuffers();
    for (int i = 0; i < 1024; ++i) {
        const auto* b = buffers[i / 256 % 8].data();
        in[i][0] = static_cast<std::int16_t>((static_cast<unsigned char>(b[2 * (i % 256) + 1]) << 8) |
                                             static_cast<unsigned char>(b[2 * (i % 256)]));
        in[i][1] = 0.0;
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}
BENCHMARK(BM_FftwComplex1024);

}  // namespace
