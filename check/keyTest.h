// The key test: reads the receiver the way the plug-in does, at about the
// plug-in's first poll rate, and prints each key as it appears: the time,
// the code and the key's name and label from the plug-in's own table. A
// held key gives one line and, when it is released, its repeat count; a
// reading that fails on the bus is shown as a failed reading, never as a
// key, and a run of them as one line and a count.
#pragma once

#include <windows.h>

#include "exitStatus.h"
#include "textFormat.h"

// Reads for `seconds`; kReceiverSilent when a reading failed.
CheckStatus RunKeyTest(TextOutput& out, DWORD seconds);
