// Recording: the sound-card check, the ring of eight buffers going round through the wave
// input, start and stop, and what the user is told when the device cannot be had. Device 0
// records from a test source through the same waveIn calls the sound card answers.
#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "settings/shared.h"
#include "platform/win32/win32_test.h"
#include "platform/winmm/winmm_test.h"
#include "resources/resource_ids.h"
#include "sound/capture_thread.h"
#include "ui/controller.h"

using winmmtest::WaveInCall;

namespace {

constexpr int kSamples = 256;
constexpr auto kPatience = std::chrono::seconds(10);

// 0, 1, 2, …: the samples show which stretch of the recording reached the analysis.
winmmtest::SampleSource CountingSource() {
    return [n = 0](std::int16_t* samples, int count) mutable {
        for (int i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(n++);
    };
}

std::vector<int> Color() {
    return {soundColor[0].load(), soundColor[1].load(), soundColor[2].load()};
}
const std::vector<int> kStartColor{5, 5, 5};

// Every ring buffer the wave input is handed (AddBuffer) and taken back from (Unprepare),
// per opened device, from either thread; the recording thread's calls also in one list.
class RingLog {
public:
    void Install(const WAVEHDR* ring) {
        winmmtest::SetCallObserver([this, ring](WaveInCall call, HWAVEIN waveIn, const WAVEHDR* header) {
            if (call != WaveInCall::Unprepare && call != WaveInCall::AddBuffer) return;
            const bool taken = call == WaveInCall::Unprepare;
            {
                std::lock_guard lock(mutex_);
                devices_[waveIn][taken].push_back(static_cast<int>(header - ring));
                if (std::this_thread::get_id() != windowThread_) lists_[taken].push_back(static_cast<int>(header - ring));
                changed_.notify_all();
            }
            // The window's thread, woken by this, gets its chance to act in mid-pass.
            std::this_thread::yield();
        });
    }
    ~RingLog() { winmmtest::SetCallObserver(nullptr); }

    std::vector<int> Taken(std::size_t from = 0) { return Since(1, from); }
    std::vector<int> Requeued(std::size_t from = 0) { return Since(0, from); }
    bool WaitForTaken(std::size_t n) { return WaitFor(1, n); }
    bool WaitForRequeued(std::size_t n) { return WaitFor(0, n); }
    std::size_t Devices() {
        std::lock_guard lock(mutex_);
        return devices_.size();
    }
    // True when every device saw buffers added as 0, 1, …, 7, 0, … and taken in the same order.
    bool EveryRingInOrder() {
        std::lock_guard lock(mutex_);
        for (const auto& [waveIn, lists] : devices_)
            for (const std::vector<int>& list : lists)
                for (std::size_t i = 0; i < list.size(); ++i)
                    if (list[i] != static_cast<int>(i % 8)) return false;
        return true;
    }

private:
    std::vector<int> Since(int list, std::size_t from) {
        std::lock_guard lock(mutex_);
        const std::vector<int>& l = lists_[list];
        return std::vector<int>(l.begin() + static_cast<std::ptrdiff_t>(std::min(from, l.size())), l.end());
    }
    bool WaitFor(int list, std::size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return lists_[list].size() >= n; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<HWAVEIN, std::array<std::vector<int>, 2>> devices_;   // per device: added, taken
    std::vector<int> lists_[2];                        // by the recording thread: requeued, taken
    const std::thread::id windowThread_ = std::this_thread::get_id();
};

// Ends a recording thread the way the program never does (it ends with the process), so that
// the test can look at what the thread left and free its objects. The thread must end: a
// thread that hangs would never see `dying`.
void EndRecordingThread(CaptureThread& capture) {
    capture.dying = 1;
    ResumeThread(capture.thread);   // one that never started runs just far enough to end
    ASSERT_EQ(WaitForSingleObject(capture.thread, 10000), WAIT_OBJECT_0) << "the recording thread hangs";
}

void ResetHooks() {
    winmmtest::SetSampleSource(CountingSource(), winmmtest::Pace::OnDemand);
    winmmtest::SetDeviceCount(-1);
    winmmtest::SetOpenError(MMSYSERR_NOERROR);
    recording = 0;
    soundRequest = 0;
    for (auto& c : soundColor) c = 1;
}

class CaptureThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        win32test::ClearRecordedMessageBoxes();
        ResetHooks();
        capture = std::make_unique<CaptureThread>(bandSums);
        log.Install(capture->recorder->headers);
    }

    void TearDown() override {
        EndRecordingThread(*capture);
        if (HasFatalFailure()) {
            capture.release();   // a thread that still runs keeps its objects
        } else {
            if (recording) capture->Stop();
            capture.reset();
        }
    }

    // One buffer's worth of samples; returns once the recording thread has taken the buffer
    // and put the one before it back.
    void DeliverBuffer() {
        const std::size_t requeued = log.Requeued().size();
        ASSERT_EQ(winmmtest::Deliver(kSamples), 1);
        ASSERT_TRUE(log.WaitForRequeued(requeued + 1));
    }

    std::vector<int> BuffersInDriver() {
        std::vector<int> queued;
        for (int i = 0; i < 8; ++i)
            if (std::atomic_ref<DWORD>(capture->recorder->headers[i].dwFlags).load() & WHDR_INQUEUE) queued.push_back(i);
        return queued;
    }

    std::uint32_t bandSums[3] = {};
    std::unique_ptr<CaptureThread> capture;
    RingLog log;
};

const std::vector<int> kFirstSeven{0, 1, 2, 3, 4, 5, 6};

TEST_F(CaptureThreadTest, BuffersGoRoundTheRingInOrderWhileTheOneBeingReadStaysOut) {
    for (auto& c : soundColor) c = 200;
    ASSERT_TRUE(capture->Start());
    EXPECT_EQ(recording.load(), 1);
    EXPECT_EQ(Color(), kStartColor);
    EXPECT_EQ(BuffersInDriver(), kFirstSeven);

    const int buffers = 12;
    for (int i = 0; i < buffers; ++i) ASSERT_NO_FATAL_FAILURE(DeliverBuffer());
    // Buffer 7 joins at the first completion; each completion re-queues the buffer read before.
    EXPECT_EQ(log.Taken(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3}));
    EXPECT_EQ(log.Requeued(), (std::vector<int>{7, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));

    EndRecordingThread(*capture);
    EXPECT_EQ(BuffersInDriver(), (std::vector<int>{0, 1, 2, 4, 5, 6, 7}));
    // The analysis saw every buffer once, whole and in order: the window holds the last
    // 1024 samples of the recording.
    const std::vector<double>& window = capture->transform->window;
    ASSERT_EQ(window.size(), 1024u);
    for (int i = 0; i < 1024; i += 7) ASSERT_EQ(window[i], (buffers - 4) * kSamples + i) << "window entry " << i;
}

// Start follows Stop at once, again and again, the moment the recording thread begins to
// take back the buffers the stop returned. Each opened device must see its ring queued in
// order with no header queued twice, and the ring must go round as before once the restarts
// are over. ThreadSanitizer watches the headers and samples for touches from two threads.
TEST_F(CaptureThreadTest, RestartingWhileBuffersComeBackKeepsEachRingInOrder) {
    constexpr int kRestarts = 300;
    for (int i = 0; i < kRestarts; ++i) {
        ASSERT_TRUE(capture->Start());
        winmmtest::Deliver(kSamples * (i % 8));   // a few buffers complete while recording
        const std::size_t taken = log.Taken().size();
        capture->Stop();   // the reset returns the rest
        ASSERT_TRUE(log.WaitForTaken(taken + 1)) << "restart " << i;
    }
    ASSERT_TRUE(capture->Start());
    EXPECT_EQ(capture->recorder->nextBuffer.load(), 0);
    EXPECT_EQ(BuffersInDriver(), kFirstSeven);
    const std::size_t before = log.Taken().size();
    for (int i = 0; i < 10; ++i) ASSERT_NO_FATAL_FAILURE(DeliverBuffer());
    EXPECT_EQ(log.Taken(before), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1}));
    capture->Stop();

    EndRecordingThread(*capture);
    EXPECT_EQ(log.Devices(), static_cast<std::size_t>(kRestarts + 1));
    EXPECT_TRUE(log.EveryRingInOrder());
}

// ---- The Controller: the check at start-up and the capture commands -----------------------

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        win32test::ClearRecordedMessageBoxes();
        ResetHooks();
        // A plain window stands in for the main window: it receives what the Controller posts.
        WNDCLASSEXA wc{sizeof wc};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "CaptureTestClass";
        RegisterClassExA(&wc);
        hwnd = CreateWindowExA(0, "CaptureTestClass", "Capture", WS_OVERLAPPEDWINDOW, 0, 0, 320, 320, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        PostedCommands();   // the first paint
    }
    void TearDown() override { EndController(); }
    void EndController() {
        if (!controller) return;
        EndRecordingThread(controller->captureThread);
        if (HasFatalFailure()) return (void)controller.release();
        if (recording) controller->captureThread.Stop();
        controller.reset();
    }

    std::vector<WPARAM> PostedCommands() {
        std::vector<WPARAM> commands;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_COMMAND) commands.push_back(msg.wParam);
            DispatchMessageA(&msg);
        }
        return commands;
    }

    const std::vector<win32test::RecordedMessageBox>& Boxes() { return win32test::RecordedMessageBoxes(); }
    // Box `i` was shown with this owner, text and caption.
    void ExpectBox(std::size_t i, HWND owner, const std::string& text, const std::string& caption) {
        ASSERT_GT(Boxes().size(), i);
        EXPECT_EQ(Boxes()[i].owner, owner);
        EXPECT_EQ(Boxes()[i].text, text);
        EXPECT_EQ(Boxes()[i].caption, caption);
    }

    HWND hwnd = nullptr;
    std::unique_ptr<Controller> controller;
};

TEST_F(ControllerTest, TheCardCheckAndTheCaptureCommandsReportEachFailure) {
    // No sound card: the user is told once and nothing starts.
    winmmtest::SetDeviceCount(0);
    controller = std::make_unique<Controller>(hwnd);
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectBox(0, hwnd, "No Sound card install!", "Virelux Report");
    EXPECT_EQ(Boxes()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(PostedCommands().empty());
    EXPECT_EQ(soundRequest, 0);
    EXPECT_EQ(recording.load(), 0);
    // Capture asked for anyway (from the Music box): the format query finds no device.
    controller->OnCommand(IDM_START_CAPTURE);
    ExpectBox(1, nullptr, "Format not supported", "Virelux Recorder");
    EXPECT_EQ(recording.load(), 1);
    ASSERT_NO_FATAL_FAILURE(EndController());

    // A working card: the window is asked to play the demo and then to start capture.
    ResetHooks();
    win32test::ClearRecordedMessageBoxes();
    controller = std::make_unique<Controller>(hwnd);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(soundRequest, 1);
    EXPECT_EQ(PostedCommands(), (std::vector<WPARAM>{IDM_PLAY_DEMO, IDM_START_CAPTURE}));

    // A busy device is reported; a stop returns to idle.
    winmmtest::SetDeviceBusy(true);
    controller->OnCommand(IDM_START_CAPTURE);
    ExpectBox(0, nullptr, "Stop recording !\nAnother application is recording audio.", "Virelux Recorder");
    EXPECT_EQ(recording.load(), 1) << "a failed start still counts as recording";
    EXPECT_EQ(Color(), kStartColor);
    controller->OnCommand(IDM_START_CAPTURE);
    EXPECT_EQ(Boxes().size(), 1u) << "a second start while `recording` is set";
    for (auto& c : soundColor) c = 200;
    controller->OnCommand(IDM_STOP_CAPTURE);
    EXPECT_EQ(recording.load(), 0);
    EXPECT_EQ(Color(), kStartColor);
    EXPECT_EQ(controller->captureThread.recorder->device.status, MMSYSERR_BADDEVICEID);
    EXPECT_EQ(Boxes().size(), 1u);

    // Any other failure shows the system's text for it.
    winmmtest::SetOpenError(MMSYSERR_NODRIVER);
    controller->OnCommand(IDM_START_CAPTURE);
    ExpectBox(1, nullptr, "There is no driver installed on your system.", "Virelux Recorder");
    controller->OnCommand(IDM_STOP_CAPTURE);
    winmmtest::SetOpenError(MMSYSERR_NOERROR);
    controller->OnCommand(IDM_START_CAPTURE);
    EXPECT_EQ(recording.load(), 1);
    EXPECT_EQ(controller->captureThread.recorder->device.status, MMSYSERR_NOERROR);
    EXPECT_EQ(Boxes().size(), 2u);
}

}  // namespace
