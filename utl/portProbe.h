// Whether this process may read x86 I/O ports.
#pragma once

// Reads I/O port 0x61 once, guarded by an exception frame: true when the
// read worked (Windows 95, 98 and Millennium), false when the instruction
// faulted (the NT family, Wine), in which case it is stepped over.
bool PortReadsAllowed();

// Reads I/O port 0x61 and discards the value. Only where PortReadsAllowed.
void ReadPort61();
