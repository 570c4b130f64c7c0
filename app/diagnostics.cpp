#include "app/diagnostics.h"

#include "settings/shared.h"

void ReportLampColours() {
    DWORD now[3];
    for (int i = 0; i < 3; ++i) now[i] = lampLights[i] ? lampLights[i]->GetColor() & 0x00FFFFFFu : 0u;
    DiagnosticValues("virelux: lamps", now, 3);
}
