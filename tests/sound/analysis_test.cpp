// The sound analysis: the sliding window and its transform, and how the three bands of the
// transform move the colour bytes and the divisor.
#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "settings/shared.h"
#include "sound/analysis.h"
#include "sound/wave_recorder.h"

namespace {

using Triple = std::vector<int>;

// Hands `samples` to the transform buffer by buffer, as the capture loop does: 16-bit
// little-endian data read through a cursor over the recorder.
void Feed(SpectrumTransform& transform, const WaveRecorder& recorder, const std::vector<int>& samples) {
    const int n = recorder.samplesPerBuffer;
    std::vector<char> data(static_cast<std::size_t>(2 * n));
    for (std::size_t start = 0; start + n <= samples.size(); start += n) {
        for (int k = 0; k < n; ++k) {
            const auto value = static_cast<std::uint16_t>(samples[start + k]);
            data[2 * k] = static_cast<char>(value & 0xFF);
            data[2 * k + 1] = static_cast<char>(value >> 8);
        }
        SampleCursor cursor(recorder, data.data());
        transform.CopyIn(cursor);
    }
}

// The discrete Fourier transform by its definition, in long double.
std::vector<std::complex<long double>> DirectTransform(const std::vector<double>& x) {
    const std::size_t n = x.size();
    std::vector<std::complex<long double>> root(n), out(n);
    for (std::size_t m = 0; m < n; ++m)
        root[m] = std::polar(1.0L, -2 * 3.141592653589793238462643383279502884L * m / n);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < n; ++i) out[k] += static_cast<long double>(x[i]) * root[k * i % n];
    return out;
}

void CheckTransform(int points, bool baseline) {
    SCOPED_TRACE(testing::Message() << points << " points" << (baseline ? ", two bins at a time" : ""));
    const int perBuffer = points == 1024 ? 256 : points / 4;
    Pcm16Recorder recorder(perBuffer, 11025, 1);
    SpectrumTransform transform(points, 11025);
    if (baseline) transform.UseBaselineInstructions();

    std::mt19937 random(points);
    std::vector<int> samples(static_cast<std::size_t>(5 * points + perBuffer));
    for (int& s : samples) s = std::uniform_int_distribution<int>(-32768, 32767)(random);
    samples[samples.size() - 3] = -32768;   // both ends of the 16-bit range
    samples[samples.size() - 2] = 32767;

    // One buffer into the empty window: the older part is still silence.
    Feed(transform, recorder, {samples.begin(), samples.begin() + perBuffer});
    const int older = points - perBuffer;
    for (int i = 0; i < points; ++i) ASSERT_EQ(transform.window[i], i < older ? 0 : samples[i - older]) << i;
    // Many more: the window holds the last `points` samples, oldest first, unscaled.
    Feed(transform, recorder, {samples.begin() + perBuffer, samples.end()});
    const std::vector<double> window(samples.end() - points, samples.end());
    ASSERT_EQ(transform.window, window);

    const auto direct = DirectTransform(window);
    long double largest = 0, worst = 0;
    for (int k = 0; k < points; ++k) {
        largest = std::max(largest, std::abs(direct[k]));
        const std::complex<long double> bin(transform.Bin(k).real(), transform.Bin(k).imag());
        worst = std::max(worst, std::abs(bin - direct[k]));
    }
    EXPECT_LT(worst / largest, 1e-9L);

    // The band values, several at a time, are the plain formula's to the last bit.
    std::vector<double> values(points - 3);
    transform.BandValues(2, points - 3, 578.0, values.data());
    for (int k = 0; k < points - 3; ++k) {
        const double re = transform.Bin(k + 2).real(), im = transform.Bin(k + 2).imag();
        ASSERT_EQ(values[k], std::sqrt(re * re + im * im) / transform.normaliser / 578.0) << k;
    }
}

}  // namespace

TEST(SpectrumTransform, SlidesTheWindowAndTransformsItAsTheDefinitionDoesAtEverySize) {
    // Sizes that end on one level, on two levels in one pass, and on both.
    for (const bool baseline : {false, true})
        for (const int points : {4, 8, 16, 32, 64, 1024}) CheckTransform(points, baseline);
}

// ---- Band analysis ---------------------------------------------------------------------------

namespace {

constexpr int kRedBins = 30;    // bins 2..31
constexpr int kGreenBins = 41;  // bins 32..72
constexpr int kBlueBins = 85;   // bins 73..157

// Silence but for one sample: every bin has the sample's magnitude, so every analysed bin
// has the value amplitude / 32 / divisor.
std::vector<int> Click(int amplitude) {
    std::vector<int> samples(1024, 0);
    samples[700] = amplitude;
    return samples;
}

// `periods` whole periods of a cosine per window, plus a constant.
std::vector<int> Tone(int periods, double amplitude, double constant = 0) {
    std::vector<int> samples(1024);
    for (int i = 0; i < 1024; ++i)
        samples[i] = static_cast<int>(std::lround(constant + amplitude * std::cos(2 * M_PI * periods * i / 1024)));
    return samples;
}

}  // namespace

// Each test runs in a process of its own, from the state the program starts with.
class BandAnalysis : public ::testing::Test {
protected:
    static void SetColor(int r, int g, int b) { soundColor[0] = BYTE(r), soundColor[1] = BYTE(g), soundColor[2] = BYTE(b); }
    static void SetOffsets(float r, float g, float b) { bandOffset[0] = r, bandOffset[1] = g, bandOffset[2] = b; }
    static Triple Color() { return {soundColor[0], soundColor[1], soundColor[2]}; }
    Triple Sums() const { return {int(bandSums[0]), int(bandSums[1]), int(bandSums[2])}; }
    void Hear(const std::vector<int>& samples) { Feed(transform, recorder, samples); }
    // One analysis against the given divisor.
    void Analyse(float divisor) {
        bandDivisor = divisor;
        ::Analyse(bandSums, transform);
    }

    Pcm16Recorder recorder{256, 11025, 1};
    SpectrumTransform transform{1024, 11025};
    std::uint32_t bandSums[3] = {99, 99, 99};
};

TEST_F(BandAnalysis, TheDivisorFollowsTheColourAndSilenceFadesItToRest) {
    // At program start the colour is 1, 1, 1 and the divisor 1.0: a click of 64 gives every
    // bin the value 2.0.
    ASSERT_EQ(bandDivisor.load(), 1.0f);
    Hear(Click(64));
    ::Analyse(bandSums, transform);
    EXPECT_EQ(Sums(), (Triple{2 * kRedBins, 2 * kGreenBins, 2 * kBlueBins}));
    EXPECT_EQ(Color(), (Triple{60, 82, 170}));
    EXPECT_EQ(bandDivisor.load(), 50 + 512 + 4 * (60 + 82 + 170));
    // Against that divisor the same window stays under every threshold; the colour falls.
    ::Analyse(bandSums, transform);
    EXPECT_EQ(Sums(), (Triple{0, 0, 0}));
    EXPECT_EQ(Color(), (Triple{57, 80, 169}));

    // Silence from 5, 5, 5 (as every start and stop of capture leaves it) fades to rest.
    SetColor(5, 5, 5);
    Hear(std::vector<int>(1024, 0));
    for (const Triple& expected : {Triple{2, 3, 4}, Triple{2, 1, 3}, Triple{2, 1, 2}, Triple{2, 1, 1}, Triple{2, 1, 1}}) {
        ::Analyse(bandSums, transform);
        EXPECT_EQ(Color(), expected);
    }
    EXPECT_EQ(bandDivisor.load(), 50 + 512 + 4 * (2 + 1 + 1));
    gainBase = 7;
    ::Analyse(bandSums, transform);
    EXPECT_EQ(bandDivisor.load(), 7 + 512 + 4 * (2 + 1 + 1));
}

TEST_F(BandAnalysis, AToneRaisesOnlyTheBandItFallsIn) {
    // A tone of 4000 with whole periods per window lands in its bin alone, |X| ≈ 4000 · 512:
    // against the resting divisor 578 a value of 110.73, plus the band's offset. Bin 20 is
    // 215.3 Hz; the others are the bands' edges. Bins 0 and 1 never count, however loud.
    const struct {
        std::vector<int> samples;
        Triple sums;
    } cases[] = {{Tone(20, 4000), {110, 0, 0}},  {Tone(2, 4000), {110, 0, 0}},   {Tone(31, 4000), {110, 0, 0}},
                 {Tone(32, 4000), {0, 111, 0}},  {Tone(72, 4000), {0, 111, 0}},  {Tone(73, 4000), {0, 0, 110}},
                 {Tone(157, 4000), {0, 0, 110}}, {Tone(158, 4000), {0, 0, 0}},   {Tone(1, 16000, 16000), {0, 0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Hear(c.samples);
        Analyse(578.0f);
        EXPECT_EQ(Sums(), c.sums);
    }

    // Red turns blue when swapped.
    SetColor(2, 1, 1);
    Hear(Tone(20, 4000));
    Analyse(578.0f);
    EXPECT_EQ(Color(), (Triple{110, 1, 1}));
    SetColor(2, 1, 1);
    swapRedBlue = 1;
    Analyse(578.0f);
    EXPECT_EQ(Sums(), (Triple{0, 0, 110}));
    EXPECT_EQ(Color(), (Triple{2, 1, 110}));
}

TEST_F(BandAnalysis, OffsetsSetHowLargeABinMustBeToCount) {
    // Offsets of 0: a bin counts from the value 1.0 on.
    SetOffsets(0, 0, 0);
    Hear(Click(31));   // 0.97 per bin
    Analyse(1.0f);
    EXPECT_EQ(Sums(), (Triple{0, 0, 0}));
    Hear(Click(33));   // 1.03 per bin
    Analyse(1.0f);
    EXPECT_EQ(Sums(), (Triple{kRedBins, kGreenBins, kBlueBins}));

    // Offsets of 1.00: every bin that is not zero adds at least 1, however small; each band
    // has its own offset; a bin of zero adds nothing.
    Hear(Click(1));
    SetOffsets(1, 1, 1);
    Analyse(3000.0f);
    EXPECT_EQ(Sums(), (Triple{kRedBins, kGreenBins, kBlueBins}));
    SetOffsets(1, 0, 2);
    Analyse(3000.0f);
    EXPECT_EQ(Sums(), (Triple{kRedBins, 0, 2 * kBlueBins}));
    Hear(std::vector<int>(1024, 0));
    Analyse(3000.0f);
    EXPECT_EQ(Sums(), (Triple{0, 0, 0}));
}

TEST_F(BandAnalysis, ColourHoldsPeaksAndFallsByThreeTwoAndOne) {
    // Offsets of 1 and a tiny click: sums of exactly 30, 41 and 85 every buffer.
    SetOffsets(1, 1, 1);
    Hear(Click(1));
    SetColor(kRedBins, kGreenBins, kBlueBins);   // a sum equal to the channel lets it fall
    Analyse(600.0f);
    EXPECT_EQ(Color(), (Triple{kRedBins - 3, kGreenBins - 2, kBlueBins - 1}));
    SetColor(kRedBins - 1, kGreenBins - 1, kBlueBins - 1);   // one above takes it
    Analyse(600.0f);
    EXPECT_EQ(Color(), (Triple{kRedBins, kGreenBins, kBlueBins}));
    SetColor(3, 2, 1);   // at its fall step or below, a channel stays
    Hear(std::vector<int>(1024, 0));
    Analyse(600.0f);
    EXPECT_EQ(Color(), (Triple{3, 2, 1}));

    // A loud click sums every band to well over a byte (the low byte of red's 30 · 1000 would
    // be 48): the channels hold at full, the divisor is the largest there is, and silence
    // fades them from there.
    Hear(Click(32000));
    Analyse(1.0f);
    EXPECT_GT(bandSums[0], 255u);
    EXPECT_EQ(Color(), (Triple{255, 255, 255}));
    EXPECT_EQ(bandDivisor.load(), 50 + 512 + 4 * 765);
    Hear(std::vector<int>(1024, 0));
    ::Analyse(bandSums, transform);
    EXPECT_EQ(Color(), (Triple{252, 253, 254}));
}
