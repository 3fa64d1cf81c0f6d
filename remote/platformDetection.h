// Which Windows platform the plug-in runs on, and so which bus back end it
// uses.
#pragma once

// PlatformClass values.
enum PlatformClass {
  kPlatformUnsupported = -1,  // also NT 6 and later, or the query refused
  kPlatformWin32s = 0,
  kPlatformWindows9x = 1,  // Windows 95, 98, Millennium
  kPlatformNt4 = 2,        // NT 4 or earlier
  kPlatformNt5 = 3,        // NT family, major version 5
};

// Asks Windows for its version (a 156-byte record, then a 148-byte one if
// that is refused), logs the version line and returns the PlatformClass.
// When both records are refused it logs nothing and returns -1.
int DetectPlatform();
