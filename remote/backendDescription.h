// The two bus back ends, each described once: the library and its
// functions, what it can do, and what the plug-in's log and message boxes
// say of it. The plug-in's binding, its key reading and the check tool ask
// these descriptions and nothing else (the check tool's advice to its user
// is its own: check/backendAdvice.h).
#pragma once

#include "platformDetection.h"

// What the plug-in logs and shows when it binds the library. The texts are
// the plug-in's own, misspellings included ("inmort").
struct BindingTexts {
  const char* loadingLine;
  const char* loadErrorLine;
  const char* loadErrorBox;
  const char* importErrorLine;
  const char* importErrorBox;
};

struct BackendDescription {
  const char* fileName;
  // The functions bound by name; the entry-flag pair is null where the
  // library keeps no entry flag.
  const char* readByte;
  const char* writeThree;
  const char* getEntryFlag;
  const char* setEntryFlag;
  // It drives the bus lines itself, one at a time: it can address every
  // device, and so scan the bus, and it keeps the shared entry flag.
  bool drivesLines;
  // The plug-in takes a non-zero result of the read as a failed read. Where
  // not, the plug-in does not look at the result and only the code variable
  // counts (the check tool looks at it all the same, to show a silent
  // receiver as failed readings).
  bool readResultTellsFailure;
  BindingTexts binding;
};

extern const BackendDescription kTandorUtlBackend;
extern const BackendDescription kWdmI2cBackend;

// The back end that serves `platformClass`, or null where none does.
const BackendDescription* BackendFor(PlatformClass platformClass);
