// The bit engine's only pause.
#pragma once

// Ten reads of I/O port 0x61: about 10 microseconds, set by the I/O bus
// rather than by the processor. Where this process may not read ports, or
// where its port reads are emulated and far slower, a pause of the same
// length measured on the performance counter instead.
void BusDelay();
