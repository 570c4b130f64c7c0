// The sound's colour: a sliding 1024-sample window, its transform, and three frequency
// bands summed into red, green and blue.
#pragma once

#include <complex>
#include <cstdint>
#include <vector>

class WaveRecorder;

// The band limits over the analysis transform, by unsigned division of its size: bins
// 2..31 feed red, 32..72 green, 73..157 blue (about 22-334 Hz, 345-775 Hz and 786-1690 Hz
// at 11025 Hz); bins 0, 1 and 158 on are not used.
inline constexpr unsigned analysisPoints = 1024;
inline constexpr int redEnd = analysisPoints / 32;                          // 32
inline constexpr int greenEnd = analysisPoints / 14;                        // 73
inline constexpr int binEnd = analysisPoints / 12 + analysisPoints / 14;    // 158

// Reads the samples of one finished buffer, oldest first.
class SampleCursor {
public:
    SampleCursor(const WaveRecorder& recorder, const char* data);
    bool AtEnd() const { return index >= count; }
    int Next();   // the next sample

    const char* data;
    const WaveRecorder& recorder;
    int index = 0;
    int count;    // the recorder's samples per buffer
};

// A radix-2 decimation-in-time transform over a window that slides by one buffer per call.
// `points` must be a power of two, at least 4. Every table is made here, once; CopyIn
// allocates nothing.
class SpectrumTransform {
public:
    SpectrumTransform(int points, int sampleRate);
    SpectrumTransform(const SpectrumTransform&) = delete;
    SpectrumTransform& operator=(const SpectrumTransform&) = delete;

    // Slides the window by the cursor's samples, appends them and transforms the window.
    // A buffer longer than the window is ignored.
    void CopyIn(SampleCursor& cursor);

    // Works two doubles at a time (SSE2), as on a processor without AVX2; the constructor
    // chooses four at a time where the processor has AVX2.
    void UseBaselineInstructions();

    // Bin k of the transform: unscaled, no window function applied.
    std::complex<double> Bin(int k) const { return {binRe[k], binIm[k]}; }
    // The analysis's value of bins first .. first + count − 1: values[i] is
    // √(re² + im²) / normaliser / divisor of bin first + i.
    void BandValues(int first, int count, double divisor, double* values) const;

    int points;
    int sampleRate;        // kept; the computation does not need it
    int levels;            // log2(points)
    double normaliser;     // √points: the analysis divides every magnitude by it
    std::vector<double> window;     // the last `points` samples, oldest first
    std::vector<int> bitReverse;    // the bit-reversal permutation of 0..points−1

    // The working memory of the transform, in one block: real and imaginary parts apart so
    // that the butterflies run on whole vectors. Level l's twiddle factors
    // cos(2πi/2^l) − j·sin(2πi/2^l) are kept only for the i < 2^(l−1) that its butterflies
    // use, from index 2^(l−1) on.
    double* binRe;
    double* binIm;
    double* twiddleRe;
    double* twiddleIm;

private:
    std::vector<double> storage;    // backs binRe, binIm, twiddleRe and twiddleIm
    bool avx2 = false;              // four doubles at a time
};

// Sums the three bands of the transform into bandSums, then raises or fades soundColor and
// rewrites bandDivisor.
void Analyse(std::uint32_t bandSums[3], const SpectrumTransform& transform);
