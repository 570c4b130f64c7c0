// The Windows multimedia calls the program uses: wave input over SDL2 audio capture, and
// the MCI sequencer over FluidSynth.
// Declares: waveInGetNumDevs, waveInGetDevCapsA, waveInOpen, waveIn{Prepare,Unprepare}Header,
// waveInAddBuffer, waveInStart, waveInStop, waveInReset, waveInClose, waveInGetErrorTextA,
// mciSendCommandA. Leaves out: wave output, MIDI ports, mixers and timers.
#pragma once

#include "platform/win32/win32.h"

using MMRESULT = UINT;
using DWORD_PTR = std::uintptr_t;
struct HWAVEIN__;
using HWAVEIN = HWAVEIN__*;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr UINT WAVE_MAPPER = 0xFFFFFFFFu;
constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr DWORD WAVE_FORMAT_QUERY = 0x0001;
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_EVENT = 0x00050000;

constexpr DWORD WHDR_DONE = 0x01;
constexpr DWORD WHDR_PREPARED = 0x02;
constexpr DWORD WHDR_INQUEUE = 0x10;

constexpr int MAXPNAMELEN = 32;
constexpr int MAXERRORLENGTH = 256;

struct WAVEFORMATEX {
    WORD wFormatTag = 0;
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    WORD nBlockAlign = 0;
    WORD wBitsPerSample = 0;
    WORD cbSize = 0;
};

struct WAVEHDR {
    LPSTR lpData = nullptr;
    DWORD dwBufferLength = 0;
    DWORD dwBytesRecorded = 0;
    DWORD_PTR dwUser = 0;
    DWORD dwFlags = 0;
    DWORD dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    DWORD_PTR reserved = 0;
};

struct WAVEINCAPSA {
    WORD wMid = 0;
    WORD wPid = 0;
    UINT vDriverVersion = 0;
    char szPname[MAXPNAMELEN] = {};
    DWORD dwFormats = 0;
    WORD wChannels = 0;
    WORD wReserved1 = 0;
};

// ---- Wave input ----------------------------------------------------------------------------
// Device 0 is the system's default capture source. With CALLBACK_EVENT, `callback` is an
// event handle (CreateEventA) signalled whenever a queued buffer is complete; buffers are
// completed in the order they were added, each with WHDR_DONE set.
UINT waveInGetNumDevs();
MMRESULT waveInGetDevCapsA(UINT_PTR deviceId, WAVEINCAPSA* caps, UINT size);
MMRESULT waveInOpen(HWAVEIN* waveIn, UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                    DWORD flags);
MMRESULT waveInPrepareHeader(HWAVEIN waveIn, WAVEHDR* header, UINT size);
MMRESULT waveInUnprepareHeader(HWAVEIN waveIn, WAVEHDR* header, UINT size);
MMRESULT waveInAddBuffer(HWAVEIN waveIn, WAVEHDR* header, UINT size);
MMRESULT waveInStart(HWAVEIN waveIn);
MMRESULT waveInStop(HWAVEIN waveIn);
MMRESULT waveInReset(HWAVEIN waveIn);   // completes every queued buffer
MMRESULT waveInClose(HWAVEIN waveIn);
MMRESULT waveInGetErrorTextA(MMRESULT error, LPSTR text, UINT size);

// ---- The MCI sequencer ---------------------------------------------------------------------
using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_STOP = 0x0808;
constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;
constexpr UINT MM_MCINOTIFY = 0x03B9;   // sent to the callback window when a notified play ends
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;   // a newer play took over the notice
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;      // stopped or closed before the end
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;   // no synthesiser or no sound output
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;

struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback = 0;
    MCIDEVICEID wDeviceID = 0;
    LPCSTR lpstrDeviceType = nullptr;
    LPCSTR lpstrElementName = nullptr;
    LPCSTR lpstrAlias = nullptr;
};

struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback = 0;   // the window that receives MM_MCINOTIFY
    DWORD dwFrom = 0;
    DWORD dwTo = 0;
};

struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback = 0;
};

// MCI_OPEN (type "sequencer", element: a Standard MIDI File, found as fs::Resolve finds it)
// loads the tune into a General MIDI synthesiser with its own sound output; MCI_PLAY starts
// it, or resumes it after MCI_STOP, in the background and returns at once (MCI_WAIT: when it
// ends). With MCI_NOTIFY the window in dwCallback gets MM_MCINOTIFY, lParam the device id:
// MCI_NOTIFY_SUCCESSFUL when the tune has ended, MCI_NOTIFY_ABORTED when it is stopped or
// closed first, MCI_NOTIFY_SUPERSEDED when a newer play takes over. MCI_CLOSE frees the device.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
