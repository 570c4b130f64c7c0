// Wave input from a real sound server: a private PulseAudio whose default source records
// what its null sink plays.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
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

bool Done(WAVEHDR& header) { return std::atomic_ref<DWORD>(header.dwFlags).load() & WHDR_DONE; }

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

TEST(WaveInSoundServer, WithoutASoundServerThereIsNoDevice) {
    vlx_test::NoSoundOutput none;
    none.UseInThisProcess();
    EXPECT_EQ(waveInGetNumDevs(), 0u);
    const WAVEFORMATEX& format = kMono16;
    EXPECT_EQ(waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_BADDEVICEID);
    HWAVEIN wave = nullptr;
    EXPECT_EQ(waveInOpen(&wave, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
}

}  // namespace
