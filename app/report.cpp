// The error box, string loading and the allocation-failure handler.
#include "app/report.h"

#include "settings/shared.h"

void ReportError(const char* text) { MessageBoxA(nullptr, text, "Virelux Report", MB_ICONHAND); }

void LoadResString(char* buffer, HINSTANCE instance, UINT id) {
    // LoadStringA leaves the buffer alone when the string is missing.
    if (LoadStringA(instance, id, buffer, 256) == 0) MessageBoxA(nullptr, "Load String failed", "Virelux Report", MB_OK);
}

void OnOutOfMemory() { throw WinException(GetLastError(), "Memory Problem!"); }
