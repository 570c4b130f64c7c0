#include "app/window_defs.h"

#include "app/report.h"
#include "render3d/driver.h"
#include "resources/resource_ids.h"
#include "ui/window_proc.h"

WinClassDef::WinClassDef(HINSTANCE instance) {
    LoadResString(className_, instance, IDS_CLASS_NAME);
    info_.cbSize = sizeof(WNDCLASSEXA);
    info_.style = 0;
    info_.lpfnWndProc = WindowProc;
    info_.cbClsExtra = 0;
    info_.cbWndExtra = sizeof(LONG_PTR);   // the Controller pointer
    info_.hInstance = instance;
    info_.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_ICON));
    info_.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP_ICON), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    info_.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
    info_.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    info_.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    info_.lpszClassName = className_;
}

void WinClassDef::Register() {
    if (RegisterClassExA(&info_) == 0) MessageBoxA(nullptr, "RegisterClassEx failed", "Virelux Report", MB_OK);
}

WinCreateDef::WinCreateDef(HINSTANCE instance, const char* title) : instance_(instance), title_(title) {
    LoadResString(className_, instance, IDS_CLASS_NAME);
}

bool WinCreateDef::Create() {
    window_ = CreateWindowExA(0, className_, title_, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, 0, 320, 320,
                              nullptr, nullptr, instance_, nullptr);
    if (!window_) return false;
    return CreateWindowClipper(window_);
}

HWND FindRunningInstance(const char* className) {
    HWND found = FindWindowA(className, nullptr);
    if (!IsWindow(found)) return nullptr;
    HWND popup = GetLastActivePopup(found);
    return IsWindow(popup) ? popup : found;
}
