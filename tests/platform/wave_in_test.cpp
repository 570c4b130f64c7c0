// The wave-input layer through its own calls, with a test source in place of the sound card.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winmm/winmm.h"
#include "platform/winmm/winmm_test.h"

namespace {

constexpr int kSamples = 256;
constexpr DWORD kBytes = kSamples * 2;
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

TEST(WaveInDevices, TakenAbsentAndFailingDevices) {
    winmmtest::SetSampleSource(CountingSource(), winmmtest::Pace::OnDemand);
    HWAVEIN wave = nullptr;
    winmmtest::SetDeviceBusy(true);   // held by another application
    EXPECT_EQ(waveInOpen(nullptr, 0, &kMono16, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInOpen(&wave, 0, &kMono16, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
    winmmtest::SetOpenError(MMSYSERR_NODRIVER);
    EXPECT_EQ(waveInOpen(&wave, 0, &kMono16, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    winmmtest::SetDeviceBusy(false);

    winmmtest::SetDeviceCount(0);
    EXPECT_EQ(waveInOpen(nullptr, 0, &kMono16, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_BADDEVICEID);
    winmmtest::SetDeviceCount(-1);
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

}  // namespace
