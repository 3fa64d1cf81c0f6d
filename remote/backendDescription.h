// The two bus back ends, each described once: the library and its
// functions, what it can do, and what the plug-in's log and message boxes
// and the check tool's report say of it. The plug-in's binding, its key
// reading and the check tool ask these descriptions and nothing else.
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

// What the check tool advises when the library cannot be used. Format
// texts; every line after the first goes on under the first in the report.
struct AdviceTexts {
  const char* notFound;    // the file name
  const char* refused;     // the file name, then the path of what refused:
                           // the card driver where the library loads one,
                           // else the library itself
  const char* incomplete;  // the file name, then the missing function
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
  // The card's driver, which the library loads at its own load; null where
  // the library's own set-up is not ours to know.
  const char* cardDriver;
  const char* platforms;  // the Windows versions it serves, for the user
  BindingTexts binding;
  AdviceTexts advice;
};

extern const BackendDescription kTandorUtlBackend;
extern const BackendDescription kWdmI2cBackend;

// The back end that serves `platformClass`, or null where none does.
const BackendDescription* BackendFor(PlatformClass platformClass);
