#include "ui/controller.h"

#include "settings/shared.h"
#include "resources/resource_ids.h"

int soundRequest = 0;

namespace {

constexpr const char* kReportTitle = "Virelux Report";

}  // namespace

Controller::Controller(HWND hwnd) : hwnd(hwnd), captureThread(bandSums) {
    if (waveInGetNumDevs() == 0) {
        MessageBoxA(hwnd, "No Sound card install!", kReportTitle, MB_OK);
        return;
    }
    WAVEINCAPSA caps;
    if (waveInGetDevCapsA(0, &caps, sizeof(WAVEINCAPSA)) != MMSYSERR_NOERROR) {
        MessageBoxA(hwnd, "No Sound card capabilities!", kReportTitle, MB_OK);
        return;
    }
    PostMessageA(hwnd, WM_COMMAND, IDM_PLAY_DEMO, 0);
    PostMessageA(hwnd, WM_COMMAND, IDM_START_CAPTURE, 0);
    soundRequest = 1;
}
