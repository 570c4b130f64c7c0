// Internal to platform/win32: the values a program reports for measurement
// (DiagnosticValues in win32.h), printed after the present in which they changed.
#pragma once

namespace win32_internal {

// Called right after each present: prints every reported label whose values differ from the
// ones it printed last, with the monotonic time; nothing unless PLATFORM_DIAG_VALUES is set.
void PrintChangedDiagnosticValues();

}  // namespace win32_internal
