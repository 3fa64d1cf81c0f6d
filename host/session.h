// One run of the plug-in on the host's thread: the main window's schedule
// and the key script start with the session clock, Start hands the plug-in
// the host's two objects, the host's message loop runs for the run length
// (printing sound switches as the card reports them), and Stop ends it.
#pragma once

#include "key_printer.h"
#include "options.h"
#include "sim_card_link.h"

struct SessionOutcome {
  bool started = false;  // Start returned S_OK
  bool stopped = false;  // Stop returned S_OK
};

SessionOutcome RunSession(IRemoteDevice* device, HostObjects* objects,
                          const HostOptions& options, SimCardLink* sim,
                          SessionClock* clock);

// "S_OK", "E_UNEXPECTED", ... or the value in hex.
const char* ResultName(HRESULT result);
