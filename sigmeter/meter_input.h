// The meter's sound: the capture input the show records from, each finished buffer put
// through the show's own transform and colour analysis, and what that leaves to be shown.
#pragma once

#include <cstdint>
#include <string>

#include "sound/analysis.h"
#include "sound/wave_recorder.h"

// What the last analysed buffer left.
struct MeterReading {
    bool open = false;                 // the capture input records
    std::string failure;               // why not, when it does not
    long long buffers = 0;             // buffers analysed so far
    double peak = 0.0;                 // of the last buffer, 0..1 of full scale
    double rms = 0.0;                  // of the last buffer, 0..1 of full scale
    double binValue[binEnd] = {};      // from bin 2 on: the value the analysis summed for the bin
    double divisor = 1.0;              // the analysis's divisor for those values
    std::uint32_t bandSums[3] = {};    // red, green, blue sums of the last buffer
    std::uint8_t colour[3] = {};       // the sound's colour after it: what the lamps get
};

class MeterInput {
public:
    // Opens device 0 with the show's buffers: 256 mono 16-bit samples at 11025 Hz.
    MeterInput();
    MeterInput(const MeterInput&) = delete;
    MeterInput& operator=(const MeterInput&) = delete;

    // Analyses every buffer that has finished since the last call, in ring order, as the
    // show's capture thread does; the reading then describes the last one. False when none
    // had finished.
    bool Poll();
    const MeterReading& Reading() const { return reading; }

private:
    void TakeReading();

    Pcm16Recorder recorder;
    SpectrumTransform transform;
    MeterReading reading;
};
