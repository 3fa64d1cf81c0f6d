// What the check tool asks of the bus through the loaded back end: the
// entry flag, a scan of the bus, the receiver, and the sound switches.
// Each prints its lines; every bus operation is a bus turn (receiverAccess.h)
// with the entry flag raised, as in the plug-in.
#pragma once

#include "exitStatus.h"
#include "textFormat.h"

// Whether the bound back end can scan the bus: only one that drives the
// bus lines itself can address every device.
bool BackendCanScan();

// The entry flag's value now, where the back end keeps one.
void ReportEntryFlag(TextOutput& out);

// Reads one byte at every 7-bit address outside the reserved ranges
// (0x08 to 0x77) and lists each device that acknowledges. Reads only: a
// scan writes to no device. A back end that cannot scan reads the
// receiver instead. kReceiverSilent when the receiver is not among them.
CheckStatus ScanBus(TextOutput& out);

// One reading of the receiver.
CheckStatus CheckReceiver(TextOutput& out);

// The plug-in's own sound sequences.
CheckStatus SwitchSound(TextOutput& out, bool on);
