// The signal display as a user meets it: started from the installation folder on the test's
// own X server, it records the test's sound server and draws what the show's analysis makes
// of it; its window is read back through X.
#include <csignal>
#include <string>

#include "sigmeter/meter_view.h"
#include "tests/e2e/staged_program.h"
#include "tests/support/sound_probe.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

constexpr const char* kMeterTitle = "Virelux SigMeter";

Rgb ToRgb(const std::uint8_t colour[3]) { return Rgb{colour[0], colour[1], colour[2]}; }

// How far band `band`'s bar is filled, 0 to 1: the share of its middle row in its colour.
double BarFill(const Image& image, int band) {
    const MeterRect& bar = kBandBars[band];
    int filled = 0;
    for (int x = bar.x; x < bar.x + bar.width; ++x)
        filled += Near(image.At(x, bar.y + bar.height / 2), ToRgb(kBandFill[band]), 24);
    return static_cast<double>(filled) / bar.width;
}

// Pixels of the spectrum area in the colour of the "No sound input" notice.
int NoticePixels(const Image& image) {
    int count = 0;
    for (int y = kSpectrum.y; y < kSpectrum.y + kSpectrum.height; ++y)
        for (int x = kSpectrum.x; x < kSpectrum.x + kSpectrum.width; ++x)
            count += Near(image.At(x, y), ToRgb(kNoticeColour), 24);
    return count;
}

class E2eSigMeter : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        program_ = "sigmeter";
    }

    // Waits until the meter's window appears and a capture of it satisfies `shows`.
    template <class Shows>
    bool WaitUntilMeterShows(Process& meter, Shows shows) {
        const std::optional<XWindowId> found = x_->WaitForWindow(kMeterTitle, kPatience);
        if (!found) return false;
        window_ = *found;
        return WaitUntil(
            [&] {
                const std::optional<Image> image = x_->Capture(window_);
                return image && image->width >= kMeterWidth && image->height >= kMeterHeight && meter.Running() &&
                       shows(*image);
            },
            kPatience, std::chrono::milliseconds(50));
    }

    // A condition on the red and blue bars' fill that notes what it saw in seen_.
    template <class Condition>
    auto Bars(Condition condition) {
        return [this, condition](const Image& image) {
            const double red = BarFill(image, 0), blue = BarFill(image, 2);
            seen_ = "red bar " + std::to_string(red) + " full, blue bar " + std::to_string(blue);
            return condition(red, blue);
        };
    }

    XWindowId window_ = 0;
    std::string seen_ = "no meter window";
};

// A 215 Hz tone (a bin of the low band) fills the red bar and leaves blue dark; when it stops
// red falls back. Without any sound server the window says "No sound input" instead of
// failing. Closing the window and SIGTERM both end the meter normally.
TEST_F(E2eSigMeter, ALowToneFillsTheRedBarAndWithoutASoundServerItSaysNoSoundInput) {
    StartDisplay();
    std::unique_ptr<Process> meter = StartProgram();
    const std::string wav = pulse_->Folder() + "/tone215.wav";
    WriteToneWav(wav, 215.0, 20.0);
    ProcessOptions played;   // into the test server's default sink, whose monitor the meter records
    played.setEnv = pulse_->ClientEnvironment();
    auto player = std::make_unique<Process>(std::vector<std::string>{"paplay", wav}, played);
    EXPECT_TRUE(WaitUntilMeterShows(*meter, Bars([](double red, double blue) { return red >= 0.5 && blue <= 0.1; })))
        << seen_ << "; stderr:\n" << meter->Stderr() << "\nplayer: " << player->Stderr();
    player.reset();
    EXPECT_TRUE(WaitUntilMeterShows(*meter, Bars([](double red, double) { return red <= 0.1; })))
        << "after the tone: " << seen_;
    x_->Close(window_);
    EXPECT_EQ(meter->Wait(kPatience), ExitStatus::Exited(0)) << meter->Stderr();

    pulse_.reset();
    noSound_ = std::make_unique<NoSoundOutput>();
    meter = StartProgram();
    EXPECT_TRUE(WaitUntilMeterShows(*meter, [](const Image& image) { return NoticePixels(image) >= 20; }))
        << "no notice; the meter " << meter->Wait({}) << ", stderr:\n" << meter->Stderr();
    meter->Signal(SIGTERM);
    EXPECT_EQ(meter->Wait(kPatience), ExitStatus::Exited(0)) << meter->Stderr();
}

}  // namespace
}  // namespace vlx_test
