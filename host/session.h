// One run of the plug-in on the host's thread: the main window's schedule
// and the key script start with the session clock, Start hands the plug-in
// the host's two objects, the host's message loop runs for the run length
// (printing sound switches as the card reports them), and Stop ends it.
#pragma once

#include "host_objects.h"
#include "options.h"
#include "sim_card_link.h"

// Prints every key event with its session time as it arrives (on the
// plug-in's worker thread) and counts them.
class KeyPrinter : public harness::HostObject<IKeyEventSink> {
 public:
  KeyPrinter(harness::ReferenceTally& tally, const SessionClock& clock,
             volatile LONG* keyCount)
      : HostObject(tally), clock_(clock), keyCount_(keyCount) {}
  HRESULT __stdcall OnKey(const char* name, const char* label) override;

 private:
  const SessionClock& clock_;
  volatile LONG* keyCount_;
};

// The application object: the plug-in only holds a reference to it.
using MiraboApplication = harness::HostObject<IRemoteHost>;

// The two objects that the host hands to the plug-in's Start, for one run:
// each deletes itself at its last Release (harness::HostObject). The host
// keeps a reference of its own for the whole run, given back by ReleaseOwn,
// and the tallies, which outlive the objects.
struct HostObjects {
  explicit HostObjects(const SessionClock& clock)
      : sink(new KeyPrinter(sinkTally, clock, &keyCount)),
        application(new MiraboApplication(applicationTally)) {}
  void ReleaseOwn();

  harness::ReferenceTally sinkTally;
  harness::ReferenceTally applicationTally;
  volatile LONG keyCount = 0;
  KeyPrinter* sink;
  MiraboApplication* application;
};

struct SessionOutcome {
  bool started = false;  // Start returned S_OK
  bool stopped = false;  // Stop returned S_OK
};

SessionOutcome RunSession(IRemoteDevice* device, HostObjects* objects,
                          const HostOptions& options, SimCardLink* sim,
                          SessionClock* clock);

// "S_OK", "E_UNEXPECTED", ... or the value in hex.
const char* ResultName(HRESULT result);
