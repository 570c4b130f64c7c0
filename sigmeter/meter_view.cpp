// Draws the meter with ImGui's background draw list: plain bars and text, no widgets.
#include "sigmeter/meter_view.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "settings/shared.h"
#include "sigmeter/meter_input.h"

namespace {

constexpr double kLevelFloorDb = -60.0;
// The spectrum shows bin values from −20 dB to +50 dB of the value 1 at which a bin counts
// fully; below the floor a bin shows nothing.
constexpr double kSpectrumFloorDb = -20.0;
constexpr double kSpectrumRangeDb = 70.0;
constexpr int kFirstBin = 2;

ImU32 Colour(const std::uint8_t rgb[3], int alpha = 255) { return IM_COL32(rgb[0], rgb[1], rgb[2], alpha); }
const ImU32 kText = IM_COL32(220, 220, 220, 255);
const ImU32 kDim = IM_COL32(120, 120, 120, 255);
const ImU32 kFrame = IM_COL32(70, 70, 70, 255);

double Db(double ratio) { return ratio > 0.0 ? 20.0 * std::log10(ratio) : -1000.0; }

// How much of a range, 0..1, `db` reaches.
float Share(double db, double floorDb, double rangeDb) {
    return static_cast<float>(std::clamp((db - floorDb) / rangeDb, 0.0, 1.0));
}

void Text(ImDrawList* draw, float x, float y, ImU32 colour, const char* text) { draw->AddText({x, y}, colour, text); }

void Frame(ImDrawList* draw, const MeterRect& r) {
    draw->AddRect({float(r.x - 1), float(r.y - 1)}, {float(r.x + r.width + 1), float(r.y + r.height + 1)}, kFrame);
}

// Which band a bin feeds: 0 red, 1 green, 2 blue.
int BandOf(int bin) { return bin < redEnd ? 0 : bin < greenEnd ? 1 : 2; }

void DrawLevel(ImDrawList* draw, const MeterReading& reading) {
    const double peakDb = Db(reading.peak), rmsDb = Db(reading.rms);
    char line[96];
    if (reading.open && reading.buffers > 0 && peakDb > kLevelFloorDb)
        std::snprintf(line, sizeof line, "Input level   peak %.1f dB   RMS %.1f dB", peakDb, std::max(rmsDb, -99.9));
    else
        std::snprintf(line, sizeof line, "Input level   below %.0f dB", kLevelFloorDb);
    Text(draw, 10, 8, kText, line);

    const MeterRect& bar = kLevelBar;
    Frame(draw, bar);
    const float rmsEnd = bar.x + bar.width * Share(rmsDb, kLevelFloorDb, -kLevelFloorDb);
    draw->AddRectFilled({float(bar.x), float(bar.y)}, {rmsEnd, float(bar.y + bar.height)}, IM_COL32(90, 190, 120, 255));
    const float peakAt = bar.x + bar.width * Share(peakDb, kLevelFloorDb, -kLevelFloorDb);
    if (peakAt > bar.x) draw->AddLine({peakAt, float(bar.y)}, {peakAt, float(bar.y + bar.height)}, kText, 2.0f);
}

void DrawSpectrum(ImDrawList* draw, const MeterReading& reading) {
    Text(draw, 10, 48, kText, "Spectrum: the bins summed into red, green and blue");
    const MeterRect& area = kSpectrum;
    Frame(draw, area);
    const float bottom = float(area.y + area.height);
    for (int bin = kFirstBin; bin < binEnd; ++bin) {
        const float x = float(area.x + (bin - kFirstBin) * kBinWidth);
        const float share = Share(Db(reading.binValue[bin]), kSpectrumFloorDb, kSpectrumRangeDb);
        if (share > 0.0f)
            draw->AddRectFilled({x, bottom - share * area.height}, {x + kBinWidth - 1, bottom},
                                Colour(kBandFill[BandOf(bin)]));
    }
    // Where a band's bins begin to count: a bin adds trunc(offset + value).
    const int starts[4] = {kFirstBin, redEnd, greenEnd, binEnd};
    for (int band = 0; band < 3; ++band) {
        const double threshold = 1.0 - bandOffset[band].load(std::memory_order_relaxed);
        const float x0 = float(area.x + (starts[band] - kFirstBin) * kBinWidth);
        const float x1 = float(area.x + (starts[band + 1] - kFirstBin) * kBinWidth);
        if (threshold > 0.0) {
            const float y = bottom - Share(Db(threshold), kSpectrumFloorDb, kSpectrumRangeDb) * area.height;
            draw->AddLine({x0, y}, {x1, y}, Colour(kBandFill[band], 140));
        }
        char range[40];
        const double hzPerBin = 11025.0 / analysisPoints;
        std::snprintf(range, sizeof range, "%.0f-%.0f Hz", starts[band] * hzPerBin, (starts[band + 1] - 1) * hzPerBin);
        Text(draw, x0 + 2, bottom + 4, kDim, range);
    }
}

void DrawBands(ImDrawList* draw, const MeterReading& reading) {
    static constexpr const char* kNames[3] = {"R", "G", "B"};
    for (int band = 0; band < 3; ++band) {
        const MeterRect& bar = kBandBars[band];
        Frame(draw, bar);
        Text(draw, 14, float(bar.y + 2), kText, kNames[band]);
        const float end = bar.x + bar.width * (reading.colour[band] / 255.0f);
        draw->AddRectFilled({float(bar.x), float(bar.y)}, {end, float(bar.y + bar.height)}, Colour(kBandFill[band]));
        char value[48];
        std::snprintf(value, sizeof value, "%3d  sum %u", reading.colour[band], reading.bandSums[band]);
        Text(draw, float(bar.x + bar.width + 8), float(bar.y + 2), kText, value);
    }
    Frame(draw, kSwatch);
    draw->AddRectFilled({float(kSwatch.x), float(kSwatch.y)},
                        {float(kSwatch.x + kSwatch.width), float(kSwatch.y + kSwatch.height)}, Colour(reading.colour));
}

void DrawNotice(ImDrawList* draw, const MeterReading& reading) {
    const char* notice = "No sound input";
    const ImVec2 size = ImGui::CalcTextSize(notice);
    const float x = kSpectrum.x + (kSpectrum.width - size.x) / 2, y = kSpectrum.y + kSpectrum.height / 2 - size.y * 2;
    Text(draw, x, y, Colour(kNoticeColour), notice);
    const ImVec2 reason = ImGui::CalcTextSize(reading.failure.c_str());
    Text(draw, kSpectrum.x + (kSpectrum.width - reason.x) / 2, y + size.y * 2, kDim, reading.failure.c_str());
}

}  // namespace

void DrawMeter(const MeterReading& reading) {
    ImDrawList* draw = ImGui::GetBackgroundDrawList();
    DrawLevel(draw, reading);
    DrawSpectrum(draw, reading);
    DrawBands(draw, reading);
    if (!reading.open) DrawNotice(draw, reading);
    char status[80];
    std::snprintf(status, sizeof status, "buffers analysed %lld   divisor %.0f", reading.buffers, reading.divisor);
    Text(draw, 10, float(kMeterHeight - 20), kDim, status);
}
