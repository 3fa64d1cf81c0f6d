// What the check tool asks of the bus through the loaded back end: the
// entry flag, a scan of the bus, the receiver, and the sound switches.
// Each prints its lines; every bus operation is a bus turn (receiverAccess.h)
// with the entry flag raised, as in the plug-in.
#pragma once

#include "exitStatus.h"
#include "textFormat.h"

// Whether the bound back end is TandorUtl, which drives the bus line by
// line: only it has an entry flag and can scan the bus.
bool BackendIsTandorUtl();

// The entry flag's value now; wdmI2cDll.dll has none.
void ReportEntryFlag(TextOutput& out);

// Reads one byte at every 7-bit address outside the reserved ranges
// (0x08 to 0x77) and lists each device that acknowledges. Reads only: a
// scan writes to no device. wdmI2cDll.dll cannot scan; there the receiver
// is read instead. kReceiverSilent when the receiver is not among them.
CheckStatus ScanBus(TextOutput& out);

// One reading of the receiver.
CheckStatus CheckReceiver(TextOutput& out);

// The plug-in's own sound sequences.
CheckStatus SwitchSound(TextOutput& out, bool on);
