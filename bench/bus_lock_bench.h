// What the plug-in's bus lock (remote/busLock.h) costs a single object: an
// acquire and a release with nobody waiting, the lock itself compiled in
// from the plug-in's sources. Every receiver operation takes it once
// around bus traffic of milliseconds.
#pragma once

#include "control_table.h"
#include "stats.h"

struct BusLockFigures {
  int rounds = 0;
  int pairsPerRound = 0;
  Summary pairNs;  // one acquire and one release, per round
};

// Times on the card's clock, read once at each end of a round.
BusLockFigures MeasureBusLock(const SimControl* card);
