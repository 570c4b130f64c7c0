// Internal to platform/winmm: no platform call; PulseAudio recording for wave input.
#include "platform/winmm/pulse_capture.h"

#include <pulse/pulseaudio.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>

namespace winmm_internal {

namespace {

// How long a lost recording waits before it tries the default source again.
constexpr pa_usec_t kRetryDelay = 100 * PA_USEC_PER_MSEC;
// How long opening waits for the server to answer.
constexpr pa_usec_t kOpenTimeout = 5 * PA_USEC_PER_SEC;

}  // namespace

// The state of one recording. Every member is touched only with the mainloop's lock held:
// on the loop thread (inside its callbacks) or by Open and the destructor.
struct PulseCapture::Loop {
    CaptureFormat format;
    CaptureSink sink;
    pa_threaded_mainloop* mainloop = nullptr;
    pa_mainloop_api* api = nullptr;
    pa_context* context = nullptr;   // null while the server is away
    pa_stream* stream = nullptr;     // null while there is nothing to record
    bool opening = true;             // Open waits: a failure ends it instead of a retry
    bool ready = false;              // the first stream records
    bool failed = false;             // opening failed
    bool retryPending = false;
    bool closing = false;
    pa_time_event* openTimer = nullptr;   // ends a wait for a server that does not answer

    ~Loop() {
        if (mainloop) pa_threaded_mainloop_free(mainloop);
    }
};

namespace {

using Loop = PulseCapture::Loop;

void StartStream(Loop& loop);
void StartContext(Loop& loop, pa_context_flags_t flags);

void DropStream(Loop& loop) {
    if (!loop.stream) return;
    pa_stream_set_state_callback(loop.stream, nullptr, nullptr);
    pa_stream_set_read_callback(loop.stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(loop.stream))) pa_stream_disconnect(loop.stream);
    pa_stream_unref(loop.stream);
    loop.stream = nullptr;
}

void DropContext(Loop& loop) {
    DropStream(loop);
    if (!loop.context) return;
    pa_context_set_state_callback(loop.context, nullptr, nullptr);
    pa_context_disconnect(loop.context);
    pa_context_unref(loop.context);
    loop.context = nullptr;
}

void Retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* userdata) {
    Loop& loop = *static_cast<Loop*>(userdata);
    api->time_free(event);
    loop.retryPending = false;
    if (loop.closing) return;
    if (!loop.context) {
        StartContext(loop, PA_CONTEXT_NOAUTOSPAWN);
    } else if (!loop.stream && pa_context_get_state(loop.context) == PA_CONTEXT_READY) {
        StartStream(loop);
    }
}

// Something went away: while opening, the open fails; afterwards the default source is
// tried again shortly, until one is there.
void Lost(Loop& loop) {
    if (loop.opening) {
        loop.failed = true;
        pa_threaded_mainloop_signal(loop.mainloop, 0);
        return;
    }
    if (loop.closing || loop.retryPending) return;
    loop.retryPending = true;
    struct timeval when;
    pa_timeval_add(pa_gettimeofday(&when), kRetryDelay);
    loop.api->time_new(loop.api, &when, Retry, &loop);
}

void Read(pa_stream* stream, std::size_t, void* userdata) {
    Loop& loop = *static_cast<Loop*>(userdata);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t size = 0;
        if (pa_stream_peek(stream, &data, &size) < 0 || size == 0) return;
        // A hole (no data) is skipped, as a card that recorded nothing then.
        if (data) loop.sink(static_cast<const std::uint8_t*>(data), size);
        pa_stream_drop(stream);
    }
}

void StreamState(pa_stream* stream, void* userdata) {
    Loop& loop = *static_cast<Loop*>(userdata);
    if (stream != loop.stream) return;
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        loop.ready = true;
        pa_threaded_mainloop_signal(loop.mainloop, 0);
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        // Killed by the server: the source went and no other could take the stream.
        DropStream(loop);
        Lost(loop);
        break;
    default: break;
    }
}

void StartStream(Loop& loop) {
    pa_sample_spec sampleSpec;
    sampleSpec.format = loop.format.eightBit ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    sampleSpec.channels = static_cast<std::uint8_t>(loop.format.channels);
    sampleSpec.rate = static_cast<std::uint32_t>(loop.format.rate);
    loop.stream = pa_stream_new(loop.context, "Wave input", &sampleSpec, nullptr);
    if (!loop.stream) return Lost(loop);
    pa_stream_set_state_callback(loop.stream, StreamState, &loop);
    pa_stream_set_read_callback(loop.stream, Read, &loop);
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(-1);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(loop.format.blockBytes);
    // No source named: the stream records the default source and moves when it changes.
    if (pa_stream_connect_record(loop.stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
        DropStream(loop);
        Lost(loop);
    }
}

void ContextState(pa_context* context, void* userdata) {
    Loop& loop = *static_cast<Loop*>(userdata);
    if (context != loop.context) return;
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        if (!loop.stream) StartStream(loop);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        // The server went away (or never answered): connect afresh later.
        DropContext(loop);
        Lost(loop);
        break;
    default: break;
    }
}

void StartContext(Loop& loop, pa_context_flags_t flags) {
    loop.context = pa_context_new(loop.api, "Wave input");
    if (!loop.context) return Lost(loop);
    pa_context_set_state_callback(loop.context, ContextState, &loop);
    if (pa_context_connect(loop.context, nullptr, flags, nullptr) < 0) {
        DropContext(loop);
        Lost(loop);
    }
}

void OpenTimedOut(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* userdata) {
    Loop& loop = *static_cast<Loop*>(userdata);
    api->time_free(event);
    loop.openTimer = nullptr;
    if (loop.opening && !loop.ready) {
        loop.failed = true;
        pa_threaded_mainloop_signal(loop.mainloop, 0);
    }
}

}  // namespace

PulseCapture::PulseCapture(std::unique_ptr<Loop> loop) : loop_(std::move(loop)) {}

std::unique_ptr<PulseCapture> PulseCapture::Open(const CaptureFormat& format, CaptureSink sink) {
    auto loop = std::make_unique<Loop>();
    loop->format = format;
    loop->sink = std::move(sink);
    loop->mainloop = pa_threaded_mainloop_new();
    if (!loop->mainloop) return nullptr;
    loop->api = pa_threaded_mainloop_get_api(loop->mainloop);
    if (pa_threaded_mainloop_start(loop->mainloop) < 0) return nullptr;

    pa_threaded_mainloop_lock(loop->mainloop);
    struct timeval deadline;
    pa_timeval_add(pa_gettimeofday(&deadline), kOpenTimeout);
    loop->openTimer = loop->api->time_new(loop->api, &deadline, OpenTimedOut, loop.get());
    StartContext(*loop, PA_CONTEXT_NOFLAGS);
    while (!loop->ready && !loop->failed) pa_threaded_mainloop_wait(loop->mainloop);
    if (loop->openTimer) loop->api->time_free(loop->openTimer);
    loop->openTimer = nullptr;
    loop->opening = false;
    const bool ready = loop->ready && !loop->failed;
    if (!ready) {
        loop->closing = true;
        DropContext(*loop);
    }
    pa_threaded_mainloop_unlock(loop->mainloop);
    if (!ready) {
        pa_threaded_mainloop_stop(loop->mainloop);
        return nullptr;
    }
    return std::unique_ptr<PulseCapture>(new PulseCapture(std::move(loop)));
}

PulseCapture::~PulseCapture() {
    pa_threaded_mainloop_lock(loop_->mainloop);
    loop_->closing = true;
    DropContext(*loop_);
    pa_threaded_mainloop_unlock(loop_->mainloop);
    // The loop thread only polls and runs our callbacks, so it ends at once.
    pa_threaded_mainloop_stop(loop_->mainloop);
}

bool PulseAudioChosen() {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return !driver || !*driver || strncasecmp(driver, "pulse", 5) == 0;
}

}  // namespace winmm_internal
