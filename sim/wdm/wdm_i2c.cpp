// The simulated "wdmI2cDll.dll": the I2C access library that the plug-in
// uses on Windows 2000 and later 5.x versions. The real one reaches the card
// through its own kernel driver; this one reaches the simulated card through
// the byte-level entry points of the simulated "BtVid_32.Dll", so that keys,
// sound writes and faults are those of the same receiver.
// Plain exports with undecorated names (a .def file, which a variant of
// this library shortens) in the calling convention SIM_EXPORT_CALL that the
// build picks.
#include "control_table.h"

extern "C" int SIM_EXPORT_CALL readByte(int address, int* value) {
  return SimWdmReadByte(address, value);
}

extern "C" int SIM_EXPORT_CALL write3byte(int address, int byte1, int byte2) {
  return SimWdmWrite3(address, byte1, byte2);
}
