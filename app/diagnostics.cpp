#include "app/diagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/shared.h"

void ReportPresentedLamps() {
    static const bool asked = [] {
        const char* v = std::getenv("VIRELUX_DIAG_LAMPS");
        return v && *v && *v != '0';
    }();
    if (!asked) return;
    static D3DCOLOR last[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};   // no colour a lamp can take
    D3DCOLOR now[3];
    bool changed = false;
    for (int i = 0; i < 3; ++i) {
        now[i] = lampLights[i] ? lampLights[i]->GetColor() & 0x00FFFFFFu : 0u;
        changed = changed || now[i] != last[i];
        last[i] = now[i];
    }
    if (!changed) return;
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::fprintf(stderr, "virelux: lamps at %lld ns: %08X %08X %08X\n",
                 static_cast<long long>(ts.tv_sec) * 1000000000ll + ts.tv_nsec, now[0], now[1], now[2]);
}
