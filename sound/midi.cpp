#include "sound/midi.h"

MCI_OPEN_PARMSA midiOpen;
MCI_PLAY_PARMS midiPlay;
BYTE midiPlaying = 0;

bool PlayMidi(HWND window, const char* fileName) {
    midiPlaying = 0;
    if (midiOpen.wDeviceID != 0) mciSendCommandA(midiOpen.wDeviceID, MCI_CLOSE, 0, 0);

    midiOpen = MCI_OPEN_PARMSA{};
    midiPlay = MCI_PLAY_PARMS{};
    midiOpen.lpstrDeviceType = "sequencer";
    midiOpen.lpstrElementName = fileName;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&midiOpen)) != 0)
        return false;

    midiPlay.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    if (mciSendCommandA(midiOpen.wDeviceID, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&midiPlay)) != 0) {
        mciSendCommandA(midiOpen.wDeviceID, MCI_CLOSE, 0, 0);
        return false;
    }
    midiPlaying = 1;
    return true;
}

void StopMidi() {
    if (midiOpen.wDeviceID != 0) mciSendCommandA(midiOpen.wDeviceID, MCI_CLOSE, 0, 0);
    midiPlaying = 0;
}

void StartMidiDemo(HWND box) {
    StopMidi();
    if (!PlayMidi(box, kDemoTune)) MessageBoxA(box, "MIDI device not run.", "Virelux Report", MB_OK);
}

void LaunchProgram(HWND owner, const char* file) {
    ShellExecuteA(owner, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}
