// What the check tool tells its user of each bus back end: the Windows
// versions it serves, the card driver it needs, and what to do when it
// cannot be used. The plug-in never says any of it, so it lives here rather
// than in the back ends' descriptions that both share.
#pragma once

#include "backendDescription.h"

// Format texts; every line after the first goes on under the first in the
// report.
struct BackendAdvice {
  const char* platforms;  // the Windows versions it serves
  // The card's driver, which the library loads at its own load; null where
  // the library's own set-up is not ours to know.
  const char* cardDriver;
  const char* notFound;    // the file name
  const char* refused;     // the file name, then the path of what refused:
                           // the card driver where the library loads one,
                           // else the library itself
  const char* incomplete;  // the file name, then the missing function
};

const BackendAdvice& AdviceFor(const BackendDescription& backend);
