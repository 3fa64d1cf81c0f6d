#include "port_emulation.h"

#include <windows.h>

#include "process_time.h"

namespace {

// Enough reads for the processor time, counted in 10 ms ticks, to come to
// a few dozen ticks.
const int kReads = 30000;

void ReadPort61() {
  asm volatile("inb $0x61, %%al" : : : "eax");
}

double NowUs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

PortReadCost MeasurePortRead() {
  PortReadCost cost;
  double cpu = ProcessCpuUs();
  double wall = NowUs();
  for (int i = 0; i < kReads; ++i) ReadPort61();
  cost.wallUs = (NowUs() - wall) / kReads;
  cost.cpuUs = (ProcessCpuUs() - cpu) / kReads;
  return cost;
}
