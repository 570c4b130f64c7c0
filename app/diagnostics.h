// Measurement output of the show itself, asked for through the environment and read once:
//   VIRELUX_DIAG_LAMPS=1  after each presented frame in which the lamp colours changed,
//                         prints them with the monotonic time at which the present returned
//                         (after the swap and its wait for the display's period), e.g.
//                         "virelux: lamps at 123456789 ns: 00C80300 000301AA 00C800AA"
// Tests and benchmarks read it to see the sound reach the screen.
#pragma once

// Call after a frame was presented.
void ReportPresentedLamps();
