// Values a program hands the platform to be followed on screen, for measurement only:
//   PLATFORM_DIAG_VALUES=1  after each present in which a label's values changed, prints
//                           "<label> at <monotonic ns> ns: XXXXXXXX XXXXXXXX ..." on stderr
// The environment is read once, here; without the variable the values are only kept.
// Implements no platform call: DiagnosticValues is this layer's own, for measurement.
#include "platform/win32/diagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/win32/win32.h"

namespace {

struct Watched {
    std::string label;
    std::vector<DWORD> values;    // as last reported
    std::vector<DWORD> printed;   // as last printed; empty before the first print
};

// The GUI thread reports and presents, so no lock.
std::vector<Watched>& WatchedValues() {
    static std::vector<Watched> watched;
    return watched;
}

bool Wanted() {
    static const bool wanted = [] {
        const char* v = std::getenv("PLATFORM_DIAG_VALUES");
        return v && *v && *v != '0';
    }();
    return wanted;
}

}  // namespace

void DiagnosticValues(const char* label, const DWORD* values, int count) {
    if (!label || (!values && count > 0) || count < 0) {
        std::fprintf(stderr, "win32: DiagnosticValues needs a label and count values\n");
        return;
    }
    if (!Wanted()) return;
    std::vector<Watched>& watched = WatchedValues();
    Watched* entry = nullptr;
    for (Watched& w : watched)
        if (w.label == label) entry = &w;
    if (!entry) entry = &watched.emplace_back(Watched{label, {}, {}});
    entry->values.assign(values, values + count);
}

void win32_internal::PrintChangedDiagnosticValues() {
    if (!Wanted()) return;
    timespec ts{};
    bool timed = false;
    for (Watched& w : WatchedValues()) {
        if (w.values == w.printed) continue;
        if (!timed) {
            clock_gettime(CLOCK_MONOTONIC, &ts);
            timed = true;
        }
        std::string line = w.label + " at " +
                           std::to_string(static_cast<long long>(ts.tv_sec) * 1000000000ll + ts.tv_nsec) + " ns:";
        for (DWORD v : w.values) {
            char hex[12];
            std::snprintf(hex, sizeof hex, " %08X", static_cast<unsigned>(v));
            line += hex;
        }
        std::fprintf(stderr, "%s\n", line.c_str());
        w.printed = w.values;
    }
}
