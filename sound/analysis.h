// The sound's colour: a sliding 1024-sample window, its transform, and three frequency
// bands summed into red, green and blue.
#pragma once

#include <complex>
#include <cstdint>
#include <vector>

class WaveRecorder;

// Reads the samples of one finished buffer, oldest first.
class SampleCursor {
public:
    SampleCursor(const WaveRecorder& recorder, const char* data);
    bool AtEnd() const { return index >= count; }
    int Next();   // the next sample

    const char* data;
    const WaveRecorder& recorder;
    int index = 0;
    int count;
};

class SpectrumTransform {
public:
    SpectrumTransform(int points, int sampleRate);
    // Slides the window by the cursor's samples, appends them and transforms the window.
    void CopyIn(SampleCursor& cursor);

    int points;
    int sampleRate;
    int levels;
    double normaliser;
    std::vector<double> window;                             // the last `points` samples, oldest first
    std::vector<int> bitReverse;
    std::vector<std::complex<double>> bins;                 // the transform of the window
    std::vector<std::vector<std::complex<double>>> twiddle; // per level 1..levels (index 0 unused)
};

// Sums the three bands of the transform into bandSums, then raises or fades soundColor and
// rewrites bandDivisor.
void Analyse(std::uint32_t bandSums[3], const SpectrumTransform& transform);
