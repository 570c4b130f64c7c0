// SDL's audio subsystem as the multimedia layer shares it: every user (a device query, an
// open wave-input device, an open sequencer) holds a reference of its own, and SDL counts
// them, so the subsystem stops only when its last user lets go. Internal to platform/winmm.
//
// FIXME: while SDL 2.26's audio runs on PulseAudio (the sequencer playing, a device query),
// its hot-plug thread may crash when every sink and source of the server disappears; wave
// input from the default source avoids SDL for that reason (pulse_capture.h).
#pragma once

namespace winmm_internal {

// Takes one reference, starting SDL's audio with the monitors of the outputs listed among
// the capture devices. False when audio cannot start (SDL's reason is printed once).
bool AcquireSdlAudio();
// Gives back a reference that AcquireSdlAudio granted.
void ReleaseSdlAudio();

}  // namespace winmm_internal
