// TandorUtl's two transactions that the plug-in uses, measured one call at
// a time on the simulated card: the driver calls each makes (from the
// card's call record) and the time each spends outside the 10 ms sleep
// that ends a read; and, from the gaps between the recorded calls, the
// length of the library's bus delay.
#pragma once

#include <string>

#include "simcard.h"
#include "stats.h"

struct TransactionFigures {
  int driverCalls = 0;     // all calls the driver received, the mode call too
  bool callsVary = false;  // not the same count in every sample
  int lineSettings = 0;    // I2CSWSetSCL and I2CSWSetSDA
  int lineSamples = 0;     // I2CSWReadSCL and I2CSWReadSDA
  int failures = 0;        // calls that did not return 0
  Summary activeUs;        // from the call until the sleep, or to the return
  Summary sleepUs;         // from the last driver call to the return
};

// The library's bus delay, from the gaps between consecutive driver calls
// of read frames: the gaps where the library pauses, against all others.
struct BusDelayFigures {
  Summary pausedGapUs;
  Summary plainGapUs;
  double busDelayUs = 0;  // median paused gap less median plain gap
  int frames = 0;         // read frames whose calls had the expected shape
};

struct UtlFigures {
  bool loaded = false;
  std::string why;  // when not loaded
  int samples = 0;
  TransactionFigures read;
  TransactionFigures write3;
  BusDelayFigures busDelay;
};

// Loads TandorUtl.dll from the program's folder and runs `samples` reads
// from the receiver (0x97) and as many writes to it (0x96, 2, 0x20),
// after one of each to warm up.
UtlFigures MeasureTransactions(const SimControl* card, int samples);
