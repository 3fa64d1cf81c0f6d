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

}  // namespace

PortReadCost MeasurePortRead() {
  PortReadCost cost;
  double cpu = ProcessCpuUs();
  double wall = WallUs();
  for (int i = 0; i < kReads; ++i) ReadPort61();
  cost.wallUs = (WallUs() - wall) / kReads;
  cost.cpuUs = (ProcessCpuUs() - cpu) / kReads;
  return cost;
}
