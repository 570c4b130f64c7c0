// Internal to platform/win32: the control model of dialog boxes, which the real box (drawn
// with ImGui) and the test's dialog scripts act on alike. A box and each of its controls are
// windows (HWND) of their own; these records hang off them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32.h"

enum class ControlKind { PushButton, CheckBox, RadioButton, GroupBox, Text, Picture, ScrollBar };

struct ControlState {
    ControlKind kind = ControlKind::Text;
    bool autoButton = false;   // BS_AUTOCHECKBOX / BS_AUTORADIOBUTTON: a click sets the check
    bool isDefault = false;    // BS_DEFPUSHBUTTON
    RECT rect;                 // in the box's client area, pixels
    UINT check = BST_UNCHECKED;
    int scrollMin = 0;
    int scrollMax = 100;
    int scrollPos = 0;
    HANDLE image = nullptr;    // a picture's bitmap or icon (LoadImageA / STM_SETIMAGE)

    // Drawing state of the real box.
    unsigned texture = 0;            // GL texture of `image` in the box's context
    HANDLE textureImage = nullptr;   // the image that texture shows
    int textureWidth = 0;
    int textureHeight = 0;
    bool dragging = false;           // the scroll bar's thumb is held
    int trackPos = 0;                // where the held thumb stands
    float grabOffset = 0.0f;         // where on the thumb it was taken, pixels
};

struct DialogState {
    DLGPROC proc = nullptr;
    std::string templateName;
    HWND owner = nullptr;        // takes no input while the box is open
    bool ownerWasEnabled = true;
    std::vector<HWND> controls;  // template order
    bool ended = false;
    INT_PTR result = 0;
    HWND focus = nullptr;        // the control the keys act on (a scroll bar that was clicked)
    bool keyboardFocus = false;  // the focus was moved with Tab or the arrows: it is shown
    // What the user did during a drawn frame, carried out once the frame is done (a
    // procedure may open a box of its own, which draws frames too).
    std::vector<std::function<void()>> pending;
    std::function<void()> drawContent;   // the real box: draws the controls
};
