// Types and constants of dialog boxes, their controls and the open-file dialog, with the
// platform's names and values. Included through win32.h; nothing here depends on SDL.
// Declares only types and constants; leaves out those no call here uses.
#pragma once

#include <cstdint>

#include "platform/win32/win32_types.h"

using INT_PTR = std::intptr_t;

// A dialog procedure: TRUE when it handled the message (WM_INITDIALOG: TRUE to let the box
// choose the keyboard focus).
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Messages --------------------------------------------------------------------------
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr WORD BN_CLICKED = 0;
constexpr WORD STN_CLICKED = 0;

constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;

// ---- Styles ----------------------------------------------------------------------------
// Window styles of controls (the same bits mean minimise and maximise boxes on a frame).
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;

// Dialog box styles.
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CENTER = 0x0800;

// Button styles (the low four bits are the kind).
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;

// Static control styles (the low five bits are the kind).
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr DWORD SS_SUNKEN = 0x1000;

// Scroll bar control styles.
constexpr DWORD SBS_HORZ = 0x0000;

// ---- Scroll bars -----------------------------------------------------------------------
// Which scroll bar a call means: SB_CTL, the scroll bar control itself.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;

// Scroll codes in the low word of WM_HSCROLL's wParam (the thumb position in the high word
// for SB_THUMBPOSITION and SB_THUMBTRACK); the UP/DOWN/TOP/BOTTOM names are the same codes.
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;
constexpr WORD SB_LINEUP = SB_LINELEFT;
constexpr WORD SB_LINEDOWN = SB_LINERIGHT;
constexpr WORD SB_PAGEUP = SB_PAGELEFT;
constexpr WORD SB_PAGEDOWN = SB_PAGERIGHT;
constexpr WORD SB_TOP = SB_LEFT;
constexpr WORD SB_BOTTOM = SB_RIGHT;

// ---- Window data -----------------------------------------------------------------------
constexpr int GWL_STYLE = -16;
constexpr int GWL_ID = -12;
constexpr int GWLP_ID = GWL_ID;

// The id of controls that nobody addresses (labels, frames, icons).
constexpr int IDC_STATIC = -1;

// ---- The open-file dialog --------------------------------------------------------------
using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    LPCSTR lpstrFilter = nullptr;        // "Name\0pattern;pattern\0...\0\0"
    LPSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;              // 1-based; the filter chosen on return
    LPSTR lpstrFile = nullptr;           // in: the name proposed; out: the full path
    DWORD nMaxFile = 0;
    LPSTR lpstrFileTitle = nullptr;      // out: the file name without its folder
    DWORD nMaxFileTitle = 0;
    LPCSTR lpstrInitialDir = nullptr;
    LPCSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;                // out: where the name starts in lpstrFile
    WORD nFileExtension = 0;             // out: where the extension starts (0 without one)
    LPCSTR lpstrDefExt = nullptr;        // added to a name typed without an extension
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
};

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
