// The Information Box "InfBox" ("About" in the Scene menu).
#pragma once

#include "platform/win32/win32.h"

// The home page button opens the maker's web address, "Privat" the page "doc\main.html";
// both leave the box open. OK and Esc close it.
INT_PTR InfBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
