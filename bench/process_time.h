// Clocks of the benchmark: this process's processor time, and the wall
// clock of the performance counter.
#pragma once

// In microseconds since the process began; the system counts it in clock
// ticks (10 ms under Wine), so take it over long enough stretches.
double ProcessCpuUs();

// Wall time from the performance counter, in microseconds from an
// arbitrary start.
double WallUs();
