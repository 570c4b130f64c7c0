// The Music Tools Box: the analysis and dance settings the capture thread and the frame tick
// read, changed while the box is open. The command that opened it starts or stops capture
// after it closes, as soundRequest asks.
#include "ui/music_box.h"

#include <cstdio>

#include "settings/shared.h"
#include "resources/resource_ids.h"
#include "sound/midi.h"
#include "ui/scroll_step.h"

namespace {

// The sliders, by control id minus IDC_MUS_RED: the three band offsets, gain, dance speed.
enum Slider { kRed, kGreen, kBlue, kGain, kDanceSpeed, kSliderCount };
constexpr int kSliderMax = 100;

// The sliders' positions while the box is open.
int positions[kSliderCount];

// What Cancel puts back: the slider values found when the box opened.
struct Saved {
    float offsets[3] = {0.0f, 0.0f, 0.0f};
    float danceFall = 0.0f;
    float gainBase = 0.0f;
} saved;

constexpr const char* kReportTitle = "Virelux Report";

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

void ShowNumber(HWND dialog, int slider, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    SetDlgItemTextA(dialog, IDC_MUS_RED_TEXT + slider, text);
}

void Check(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_SETCHECK, BST_CHECKED, 0); }

BOOL OnInitDialog(HWND dialog) {
    for (int i = 0; i < 3; ++i) saved.offsets[i] = bandOffset[i].load(kRelaxed);
    saved.danceFall = danceFall;
    saved.gainBase = static_cast<float>(gainBase.load(kRelaxed));

    if (soundRequest == 1) Check(dialog, IDC_MUS_SOUND_START);
    if (soundRequest == 2) Check(dialog, IDC_MUS_SOUND_STOP);
    if (!fadeStep1 && !fadeStep2) Check(dialog, IDC_MUS_FADE_SLOW);
    if (fadeStep1 && !fadeStep2) Check(dialog, IDC_MUS_FADE_MIDDLE);
    if (fadeStep1 && fadeStep2) Check(dialog, IDC_MUS_FADE_FAST);
    Check(dialog, danceActive ? IDC_MUS_DANCE_START : IDC_MUS_DANCE_STOP);
    SendDlgItemMessageA(dialog, IDC_MUS_SWAP, BM_SETCHECK, swapRedBlue.load(kRelaxed) ? BST_CHECKED : BST_UNCHECKED, 0);
    Check(dialog, midiPlaying ? IDC_MUS_MIDI_START : IDC_MUS_MIDI_STOP);

    // Positions from the values, truncated towards zero.
    for (int i = 0; i < 3; ++i) positions[i] = static_cast<int>(bandOffset[i].load(kRelaxed) * 0.5 * 100);
    positions[kGain] = static_cast<int>((gainBase.load(kRelaxed) - 1.0) * 0.010101010 * 100);
    positions[kDanceSpeed] = static_cast<int>(danceFall * 10 * 100);
    for (int i = 0; i < kSliderCount; ++i) {
        HWND bar = GetDlgItem(dialog, IDC_MUS_RED + i);
        SetScrollRange(bar, SB_CTL, 0, kSliderMax, FALSE);
        SetScrollPos(bar, SB_CTL, positions[i], FALSE);
    }

    for (int i = 0; i < 3; ++i) ShowNumber(dialog, i, bandOffset[i].load(kRelaxed));
    ShowNumber(dialog, kGain, gainBase.load(kRelaxed));
    ShowNumber(dialog, kDanceSpeed, danceFall);
    return TRUE;
}

BOOL OnScroll(HWND dialog, WPARAM wParam, HWND bar) {
    const int slider = GetWindowLongA(bar, GWL_ID) - IDC_MUS_RED;
    if (slider < 0 || slider >= kSliderCount) return FALSE;
    const std::optional<int> moved = SteppedPosition(positions[slider], wParam, kSliderMax);
    if (!moved) return FALSE;
    const int p = positions[slider] = *moved;
    switch (slider) {
    case kGain: {
        // The text shows the gain before it is cut to a whole number.
        const double gain = p * 0.99 + 1.0;
        gainBase.store(static_cast<int>(gain), kRelaxed);
        ShowNumber(dialog, slider, gain);
        break;
    }
    case kDanceSpeed:
        danceFall = static_cast<float>(p * 0.001);
        ShowNumber(dialog, slider, danceFall);
        break;
    default:
        bandOffset[slider].store(static_cast<float>(p * 0.02), kRelaxed);
        ShowNumber(dialog, slider, bandOffset[slider].load(kRelaxed));
        break;
    }
    SetScrollPos(bar, SB_CTL, p, TRUE);
    return TRUE;
}

// The camera's position relative to the scene becomes the centre of the dance.
void TakeDanceBase() {
    if (!appState || !appState->camera) return;
    appState->camera->GetPosition(appState->scene.get(), &danceBase);
}

BOOL OnCommand(HWND dialog, WORD id) {
    switch (id) {
    case IDOK:
        EndDialog(dialog, 0);
        return TRUE;
    case IDCANCEL:
        for (int i = 0; i < 3; ++i) bandOffset[i].store(saved.offsets[i], kRelaxed);
        danceFall = saved.danceFall;
        gainBase.store(static_cast<int>(saved.gainBase), kRelaxed);
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_MUS_CD_PLAYER:
        LaunchProgram(dialog, kCdPlayer);
        EndDialog(dialog, 0);
        break;
    case IDC_MUS_MEDIA_PLAYER:
        LaunchProgram(dialog, kMediaPlayer);
        EndDialog(dialog, 0);
        break;
    case IDC_MUS_SIGMETER:
        // The signal display records from the same input: not while the show does.
        if (recording.load(kRelaxed) == 1)
            MessageBoxA(dialog, "Sound it activ. Please stop!", kReportTitle, MB_OK);
        else
            LaunchProgram(dialog, kSignalMeter);
        break;
    case IDC_MUS_FADE_SLOW:
        fadeStep1 = 0;
        fadeStep2 = 0;
        break;
    case IDC_MUS_FADE_MIDDLE:
        fadeStep1 = 1;
        fadeStep2 = 0;
        break;
    case IDC_MUS_FADE_FAST:
        fadeStep1 = 1;
        fadeStep2 = 1;
        break;
    case IDC_MUS_SOUND_START:
        soundRequest = 1;
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_MUS_SOUND_STOP:
        soundRequest = 2;
        danceActive = 0;
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_MUS_SWAP:
        swapRedBlue.store(!swapRedBlue.load(kRelaxed), kRelaxed);
        break;
    case IDC_MUS_DANCE_START:
        if (recording.load(kRelaxed) == 0) {
            MessageBoxA(dialog, "Sound it not activ.", kReportTitle, MB_OK);
            break;
        }
        TakeDanceBase();
        if (appState && appState->camera)
            appState->camera->SetPosition(appState->scene.get(), danceBase.x, danceBase.y, danceBase.z);
        danceActive = 1;
        break;
    case IDC_MUS_DANCE_STOP:
        TakeDanceBase();
        danceActive = 0;
        break;
    case IDC_MUS_HELP:
        LaunchProgram(dialog, kMusicHelp);
        break;
    case IDC_MUS_MIDI_START:
        StartMidiDemo(dialog);
        break;
    case IDC_MUS_MIDI_STOP:
        StopMidi();
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR MusBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL: return OnScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
