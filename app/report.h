// Start-up helpers of the application shell.
#pragma once

#include "platform/win32/win32.h"

// LoadStringA into a 256-character buffer; on failure shows "Load String failed" and
// leaves the buffer as it was.
void LoadResString(char* buffer, HINSTANCE instance, UINT id);

// The handler installed for failed `new` allocations: throws WinException.
void OnOutOfMemory();
