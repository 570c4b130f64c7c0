// The meter's one window: the input level, the spectrum the show's bands are summed from,
// and the three band values with the colour they give.
#pragma once

#include <cstdint>

struct MeterReading;

struct MeterRect {
    int x = 0, y = 0, width = 0, height = 0;   // in window pixels from the top left
};

inline constexpr int kMeterWidth = 488;
inline constexpr int kMeterHeight = 352;
inline constexpr int kBinWidth = 3;   // pixels per bin of the spectrum

inline constexpr MeterRect kLevelBar{10, 26, 468, 16};     // −60 dB .. 0 dB of full scale
inline constexpr MeterRect kSpectrum{10, 66, 468, 150};    // bins 2 .. 157, kBinWidth each
// Red, green and blue: filled from the left in proportion to the colour byte.
inline constexpr MeterRect kBandBars[3] = {{40, 246, 250, 18}, {40, 272, 250, 18}, {40, 298, 250, 18}};
inline constexpr MeterRect kSwatch{408, 246, 70, 70};       // the colour itself

// The fill of the bands' bars and spectrum bins, red, green, blue.
inline constexpr std::uint8_t kBandFill[3][3] = {{235, 45, 45}, {45, 215, 70}, {60, 110, 255}};
// The colour of the "No sound input" notice.
inline constexpr std::uint8_t kNoticeColour[3] = {255, 190, 40};

// Draws the reading into the current ImGui frame, over the whole window.
void DrawMeter(const MeterReading& reading);
