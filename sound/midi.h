// The MIDI demo tune through the system's sequencer, and the programs the music boxes start.
#pragma once

#include "platform/win32/win32.h"
#include "platform/winmm/winmm.h"

// The sequencer device of the demo (id 0 until one was opened) and the play request whose
// callback window receives the completion notice. Kept for the program's lifetime.
extern MCI_OPEN_PARMSA midiOpen;
extern MCI_PLAY_PARMS midiPlay;
// 1 while the demo tune has been started successfully; window thread only.
extern BYTE midiPlaying;

// The demo tune, relative to the current directory.
constexpr const char* kDemoTune = "demo.mid";

// Opens the sequencer on `fileName` and starts playing it in the background; `window`
// receives the completion notice. False when the file cannot be opened or played.
bool PlayMidi(HWND window, const char* fileName);
// Closes the sequencer.
void StopMidi();

// "Start" under "Play MIDI demo": restarts the demo tune, telling the user when it cannot play.
void StartMidiDemo(HWND box);

// The programs and pages the boxes hand to the shell ("open", no parameters, no directory,
// shown normally); nothing waits for them or looks at the result.
constexpr const char* kCdPlayer = "cdplayer.exe";
constexpr const char* kMediaPlayer = "mplayer2.exe";
constexpr const char* kSignalMeter = "sigmeter.exe";
constexpr const char* kMusicHelp = "doc\\help1.htm";
void LaunchProgram(HWND owner, const char* file);
