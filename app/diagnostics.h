// Measurement output of the show: the three lamp colours, handed to the platform's
// diagnostics under the label "virelux: lamps". Asked for with PLATFORM_DIAG_VALUES=1, the
// platform prints them after each present in which they changed, with the monotonic time at
// which the present returned (right after the swap), e.g.
//   "virelux: lamps at 123456789 ns: 00C80300 000301AA 00C800AA"
// Tests and benchmarks read it to see the sound reach the screen.
#pragma once

// Call after the frame was rendered, before it is presented.
void ReportLampColours();
