// Processor time of this process: every thread, user and kernel.
#pragma once

// In microseconds since the process began; the system counts it in clock
// ticks (10 ms under Wine), so take it over long enough stretches.
double ProcessCpuUs();
