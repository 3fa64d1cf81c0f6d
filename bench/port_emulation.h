// The cost of one read of I/O port 0x61 in this process. Under Wine a
// program shown as Windows 9x may run `in`: Wine traps the instruction and
// emulates the port, which takes far longer than the port itself on a real
// machine. Shown as the NT family the instruction faults, and so it does
// where an emulator runs the program: then nothing is measured.
#pragma once

struct PortReadCost {
  bool allowed = false;  // the guarded probe read the port
  double wallUs = 0;
  double cpuUs = 0;
};

PortReadCost MeasurePortRead();
