#include "ui/window_proc.h"

#include "settings/shared.h"
#include "render3d/driver.h"
#include "resources/resource_ids.h"
#include "ui/controller.h"
#include "ui/keyboard.h"
#include "ui/mouse_drag.h"

// The device's window-message side, when there is a device to ask.
static Ref<IDirect3DRMWinDevice> WinDevice() {
    Ref<IDirect3DRMWinDevice> winDevice;
    if (appState && appState->device)
        appState->device->QueryInterface(IID_IDirect3DRMWinDevice, reinterpret_cast<void**>(winDevice.put()));
    return winDevice;
}

static void OnSize(HWND hwnd, LPARAM lParam) {
    if (!appState) return;
    const int width = LOWORD(static_cast<std::uintptr_t>(lParam));
    const int height = HIWORD(static_cast<std::uintptr_t>(lParam));
    if (width == 0 || height == 0) {
        appState->minimized = 1;
        return;
    }
    if (!ResizeViewport(hwnd, width, height))
        appState->quitRequested = 1;
    else
        appState->minimized = 0;
}

static void OnActivate(WPARAM wParam) {
    if (!appState || !appState->device) return;
    Ref<IDirect3DRMWinDevice> winDevice = WinDevice();
    if (!winDevice || winDevice->HandleActivate(LOWORD(wParam)) != D3DRM_OK) ReportError("Failed to handle WM_ACTIVATE.");
}

static void OnPaint(HWND hwnd) {
    RECT update;
    if (!GetUpdateRect(hwnd, &update, FALSE)) {
        ReportError("Failed to handle WM_PAINT.");
        return;
    }
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    if (Ref<IDirect3DRMWinDevice> winDevice = WinDevice())
        winDevice->HandlePaint(paint.hdc);
    else
        ReportError("Failed to handle WM_PAINT.");
    EndPaint(hwnd, &paint);
}

// Makes the window's Controller and keeps it in the window's user data (0 when it could not
// be made). Window creation goes on either way.
static void OnCreate(HWND hwnd) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    try {
        Controller* controller = new Controller(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(controller));
    } catch (const WinException& e) {
        MessageBoxA(hwnd, e.message, "Virelux Report", MB_OK);
    } catch (...) {
        ReportError("Virelux closed -\nProcess error!");
    }
}

static Controller* ControllerOf(HWND hwnd) { return reinterpret_cast<Controller*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

// Ticks the current driver's entry whenever a menu opens.
static void OnInitMenuPopup(WPARAM wParam) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (int i = 0; i < driverCount; ++i)
        CheckMenuItem(menu, static_cast<UINT>(IDM_DRIVER_FIRST + i), i == currentDriver ? MF_CHECKED : MF_UNCHECKED);
}

LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_SIZE:
        OnSize(hwnd, lParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_PAINT:
        if (!appState || !appState->device) break;   // nothing to show yet
        OnPaint(hwnd);
        return 0;
    case WM_CLOSE:
        // The window stays; the loop ends on the flag, at the command posted here.
        PostMessageA(hwnd, WM_COMMAND, IDM_STOP_CAPTURE, 0);
        if (appState) appState->quitRequested = 1;
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, wParam);
        return 0;
    case WM_KEYUP:
        OnKeyUp(hwnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnMouseButtonDown(hwnd, message == WM_LBUTTONDOWN, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        OnMouseButtonUp(message == WM_LBUTTONUP);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(wParam);
        return 0;
    case WM_COMMAND:
        // Without a Controller (its construction failed) commands go nowhere.
        if (Controller* controller = ControllerOf(hwnd)) controller->OnCommand(LOWORD(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
