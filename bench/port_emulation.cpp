#include "port_emulation.h"

#include <windows.h>

#include "portProbe.h"
#include "process_time.h"

namespace {

// Enough reads for the processor time, counted in 10 ms ticks, to come to
// a few dozen ticks.
const int kReads = 30000;

}  // namespace

PortReadCost MeasurePortRead() {
  PortReadCost cost;
  // TandorUtl's own guarded probe decides, as it does for the library:
  // wherever the instruction faults (the NT family, or an emulator that
  // raises an illegal instruction for it) no bare read is ever made.
  cost.allowed = PortReadsAllowed();
  if (!cost.allowed) return cost;
  double cpu = ProcessCpuUs();
  double wall = WallUs();
  for (int i = 0; i < kReads; ++i) ReadPort61();
  cost.wallUs = (WallUs() - wall) / kReads;
  cost.cpuUs = (ProcessCpuUs() - cpu) / kReads;
  return cost;
}
