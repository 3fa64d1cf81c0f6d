// Which Windows platform we run on, and so which bus back end the plug-in
// (and the check tool) uses.
#pragma once

// PlatformClass values.
enum PlatformClass {
  kPlatformUnsupported = -1,  // also NT 6 and later, or the query refused
  kPlatformWin32s = 0,
  kPlatformWindows9x = 1,  // Windows 95, 98, Millennium
  kPlatformNt4 = 2,        // NT 4 or earlier
  kPlatformNt5 = 3,        // NT family, major version 5
};

// What Windows says of itself, classified.
struct Platform {
  PlatformClass platformClass;
  const char* name;  // as the version line shows it
  unsigned major;
  unsigned minor;
  unsigned build;  // the low 16 bits of the build number
  char servicePack[128];
};

// Asks Windows for its version (a 156-byte record, then a 148-byte one if
// that is refused) and classifies it. False when both records are refused.
bool QueryPlatform(Platform* platform);
