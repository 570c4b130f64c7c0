// The open-file dialog of the boxes and the menu: models, scene scripts, bitmaps and
// animations, starting in the installation's folder.
#pragma once

#include "platform/win32/win32.h"

// The kinds of file the dialog offers (its filter).
constexpr int kOpenModel = 1;       // "Model (*.x)"
constexpr int kOpenScript = 2;      // "Txt-Scene (*.txt)"
constexpr int kOpenImage = 3;       // "Image  (*.bmp)"
constexpr int kOpenAnimation = 4;   // "Animation (*.x)"

// Asks for a file of `kind` (another kind keeps the last filter) under `title`, owned by
// `owner`; also adds the installation's texture folder to the search path. The chosen
// path, kept until the next call, or nullptr when the user chose none.
const char* OpenFileDialog(HWND owner, const char* title, int kind);
