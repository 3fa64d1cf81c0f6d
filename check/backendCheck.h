// The steps before any bus traffic, in the order of a whole check: the
// Windows version and the bus back end that it calls for, that Mirabo is
// closed, and the back end loaded as the plug-in loads it. Each step prints
// its line and, when it fails, what to do about it.
#pragma once

#include "backendDescription.h"
#include "exitStatus.h"
#include "textFormat.h"

// Gives the back end that serves this Windows version in `backend` (null
// where none does).
CheckStatus CheckWindows(TextOutput& out, const BackendDescription** backend);
// Two programs driving the card's bus at once spoil each other's
// transactions, so every command that touches the bus wants Mirabo closed.
CheckStatus CheckMiraboClosed(TextOutput& out);
// Binds the back end (busBackend.h); the caller releases it with
// ReleaseBusBackend when it is done.
CheckStatus LoadBackend(TextOutput& out, const BackendDescription& backend);

// All three in order, stopping at the first that fails.
CheckStatus PrepareBus(TextOutput& out);

// The start of a line that goes on under the text of the line before, past
// the width of the labels (PrintLabel, output.h): the report stays within
// the 80 columns of a console.
#define CHECK_MORE "\n              "
