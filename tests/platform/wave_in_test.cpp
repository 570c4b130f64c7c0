// The wave-input layer: through its own calls with a test source in place of the sound card,
// and from a real sound server, a private PulseAudio whose default source records what its
// null sink plays.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winmm/winmm.h"
#include "platform/winmm/winmm_test.h"
#include "tests/support/pulse_server.h"
#include "tests/support/sound_probe.h"

namespace {

constexpr int kSamples = 256;
constexpr DWORD kBytes = kSamples * 2;
constexpr int kRing = 8;
const WAVEFORMATEX kMono16{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};

// 0, 1, 2, …: every buffer shows which stretch of the recording it holds.
winmmtest::SampleSource CountingSource() {
    return [n = 0](std::int16_t* samples, int count) mutable {
        for (int i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(n++);
    };
}

DWORD FlagsOf(WAVEHDR& header) { return std::atomic_ref<DWORD>(header.dwFlags).load(); }

std::int16_t SampleOf(const WAVEHDR& header, int index) {
    std::int16_t sample;
    std::memcpy(&sample, header.lpData + 2 * index, 2);
    return sample;
}

class WaveInTest : public ::testing::Test {
protected:
    void Open(winmmtest::Pace pace) {
        winmmtest::SetSampleSource(CountingSource(), pace);
        event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        ASSERT_EQ(waveInOpen(&wave, 0, &kMono16, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT),
                  MMSYSERR_NOERROR);
        ASSERT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);   // the open is announced too
    }

    void TearDown() override {
        waveInReset(wave);
        waveInClose(wave);
        CloseHandle(event);
    }

    MMRESULT Queue(int index) {
        WAVEHDR& h = headers[index];
        h = WAVEHDR{};
        h.lpData = memory.data() + index * kBytes;
        h.dwBufferLength = kBytes;
        const MMRESULT prepared = waveInPrepareHeader(wave, &h, sizeof h);
        return prepared != MMSYSERR_NOERROR ? prepared : waveInAddBuffer(wave, &h, sizeof h);
    }

    HWAVEIN wave = nullptr;
    HANDLE event = nullptr;
    std::vector<char> memory = std::vector<char>(8 * kBytes);
    WAVEHDR headers[8];
};

TEST_F(WaveInTest, BuffersAreFilledAndReturnedInTheOrderTheyWereQueued) {
    Open(winmmtest::Pace::OnDemand);
    for (int index : {2, 0, 1}) ASSERT_EQ(Queue(index), MMSYSERR_NOERROR);
    EXPECT_EQ(winmmtest::Deliver(kSamples), 0) << "recorded before the start";

    ASSERT_EQ(waveInStart(wave), MMSYSERR_NOERROR);
    EXPECT_EQ(winmmtest::Deliver(kSamples + 100), 1);
    EXPECT_EQ(FlagsOf(headers[2]), WHDR_DONE | WHDR_PREPARED);
    EXPECT_EQ(SampleOf(headers[2], 0), 256);   // the first 256 fell before the start
    EXPECT_EQ(SampleOf(headers[2], 255), 511);
    EXPECT_EQ(FlagsOf(headers[0]), WHDR_INQUEUE | WHDR_PREPARED);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

    // A buffer filled in two deliveries holds one unbroken stretch.
    EXPECT_EQ(winmmtest::Deliver(kSamples), 1);
    EXPECT_EQ(SampleOf(headers[0], 0), 512);
    EXPECT_EQ(SampleOf(headers[0], 255), 767);
    EXPECT_FALSE(FlagsOf(headers[1]) & WHDR_DONE);

    // Stop returns the buffer being filled with what it has; the rest waits.
    ASSERT_EQ(waveInStop(wave), MMSYSERR_NOERROR);
    EXPECT_EQ(FlagsOf(headers[1]), WHDR_DONE | WHDR_PREPARED);
    EXPECT_EQ(headers[1].dwBytesRecorded, 200u);
    EXPECT_EQ(SampleOf(headers[1], 0), 768);
    EXPECT_EQ(winmmtest::Deliver(kSamples), 0) << "recorded while stopped";
}

TEST_F(WaveInTest, ResetReturnsEveryQueuedBufferAndARecordingDeviceDoesNotClose) {
    Open(winmmtest::Pace::OnDemand);
    for (int index = 0; index < 3; ++index) ASSERT_EQ(Queue(index), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInAddBuffer(wave, &headers[1], sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
    ASSERT_EQ(waveInStart(wave), MMSYSERR_NOERROR);
    winmmtest::Deliver(10);
    EXPECT_EQ(waveInClose(wave), WAVERR_STILLPLAYING);

    ASSERT_EQ(waveInReset(wave), MMSYSERR_NOERROR);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(FlagsOf(headers[index]), WHDR_DONE | WHDR_PREPARED) << "buffer " << index;
        EXPECT_EQ(headers[index].dwBytesRecorded, index == 0 ? 20u : 0u);
    }

    // A buffer queued again after the reset (by a recording thread the reset woke) is
    // returned by the close instead of keeping the device open.
    ASSERT_EQ(waveInAddBuffer(wave, &headers[1], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    WaitForSingleObject(event, 0);
    ASSERT_EQ(waveInClose(wave), MMSYSERR_NOERROR);
    EXPECT_EQ(FlagsOf(headers[1]), WHDR_DONE | WHDR_PREPARED);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << "the close is announced";
}

TEST(WaveInDevices, ErrorTextsFitTheCallersBuffer) {
    char text[164];
    ASSERT_EQ(waveInGetErrorTextA(MMSYSERR_NODRIVER, text, sizeof text), MMSYSERR_NOERROR);
    EXPECT_STREQ(text, "There is no driver installed on your system.");
    char small[8];
    std::memset(small, 'x', sizeof small);
    ASSERT_EQ(waveInGetErrorTextA(MMSYSERR_ALLOCATED, small, 6), MMSYSERR_NOERROR);
    EXPECT_STREQ(small, "The s");
    EXPECT_EQ(small[6], 'x');
    EXPECT_NE(waveInGetErrorTextA(12345, text, sizeof text), MMSYSERR_NOERROR);
}

bool Done(WAVEHDR& header) { return FlagsOf(header) & WHDR_DONE; }

// Another process's hold on a device, through the lock file the layer uses.
bool LockHeldElsewhere(UINT deviceId) {
    const int fd = open(winmmtest::DeviceLockPath(deviceId).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

// The eight headers of a ring, each prepared and queued on `wave`.
struct Ring {
    std::vector<char> memory = std::vector<char>(kRing * kBytes);
    WAVEHDR headers[kRing];
    int next = 0;   // the header that completes next

    void Queue(HWAVEIN wave) {
        for (int i = 0; i < kRing; ++i) {
            headers[i].lpData = memory.data() + i * kBytes;
            headers[i].dwBufferLength = kBytes;
            ASSERT_EQ(waveInPrepareHeader(wave, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
            ASSERT_EQ(waveInAddBuffer(wave, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        }
    }
};

// Plays a 215 Hz tone into the server's default sink and takes the buffers `wave` records,
// in ring order, each straight back into the queue, until eight loud ones came.
void HearTone(const vlx_test::PulseServer& server, HWAVEIN wave, HANDLE event, Ring& ring) {
    const std::string tone = server.Folder() + "/tone.wav";
    vlx_test::WriteToneWav(tone, 215.0, 5.0);
    vlx_test::ProcessOptions options;
    options.setEnv = server.ClientEnvironment();
    vlx_test::Process player({"paplay", tone}, options);

    int buffers = 0, loud = 0;
    for (int waits = 0; waits < 400 && loud < 8; ++waits) {
        WaitForSingleObject(event, 50);
        for (; Done(ring.headers[ring.next]); ring.next = (ring.next + 1) % kRing, ++buffers) {
            WAVEHDR& h = ring.headers[ring.next];
            EXPECT_EQ(h.dwBytesRecorded, kBytes);
            std::int16_t s[kSamples];
            std::memcpy(s, h.lpData, kBytes);
            int peak = 0;
            for (std::int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
            loud += peak > 8000;
            ASSERT_EQ(waveInAddBuffer(wave, &h, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        }
    }
    ASSERT_EQ(loud, 8) << "after " << buffers << " buffers; player: " << player.Stderr();
}

TEST(WaveInSoundServer, RecordsWhatThePlayerPlaysAlsoAfterTheServerRestarted) {
    winmmtest::SetSampleSource({});   // the sound card, not a test source
    vlx_test::PulseServer server;
    server.UseInThisProcess();
    setenv("XDG_RUNTIME_DIR", (server.Folder() + "/run").c_str(), 1);

    const WAVEFORMATEX& format = kMono16;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEIN wave = nullptr;
    ASSERT_EQ(waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInOpen(&wave, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
    HWAVEIN second = nullptr;
    EXPECT_EQ(waveInOpen(&second, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
    EXPECT_TRUE(LockHeldElsewhere(0)) << "other processes cannot see the device taken";

    Ring ring;
    ASSERT_NO_FATAL_FAILURE(ring.Queue(wave));
    ASSERT_EQ(waveInStart(wave), MMSYSERR_NOERROR);

    ASSERT_NO_FATAL_FAILURE(HearTone(server, wave, event, ring));
    // The server restarts during the recording: the device records from it again by itself,
    // its ring going on in order.
    server.Restart();
    ASSERT_NO_FATAL_FAILURE(HearTone(server, wave, event, ring));

    ASSERT_EQ(waveInReset(wave), MMSYSERR_NOERROR);
    for (WAVEHDR& h : ring.headers) EXPECT_TRUE(Done(h));
    ASSERT_EQ(waveInClose(wave), MMSYSERR_NOERROR);
    EXPECT_FALSE(LockHeldElsewhere(0));
    CloseHandle(event);
}

}  // namespace
