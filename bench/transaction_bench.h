// TandorUtl's two transactions that the plug-in uses, measured one call at
// a time on the simulated card: the driver calls each makes (from the
// card's call record) and the time each spends outside the 10 ms sleep
// that ends a read; and, from the gaps between the recorded calls, the
// length of the library's bus delay.
#pragma once

#include <string>

#include "control_table.h"
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
// The pause between the start condition's falling SDA and falling SCL is
// left out: there the simulated card records the start, with a read of
// the entry flag through the shared region, which takes far longer.
struct BusDelayFigures {
  Summary pausedGapUs;
  Summary plainGapUs;
  double pausedGapMeanUs = 0;  // InterquartileMean of each
  double plainGapMeanUs = 0;
  double busDelayUs = 0;  // the paused gap less the plain gap, by those means
  int frames = 0;         // read frames whose calls had the expected shape
};

// What the simulated card adds to each start and stop condition: it reads
// the entry flag as another process would (opens the shared region, maps,
// reads, unmaps, closes).
struct CardBookkeeping {
  double entryFlagReadUs = 0;     // wall time of one read (middle-half mean)
  double entryFlagReadCpuUs = 0;  // processor time of one read
};

struct UtlFigures {
  bool loaded = false;
  std::string why;  // when not loaded
  int samples = 0;
  TransactionFigures read;
  TransactionFigures write3;
  BusDelayFigures busDelay;
  CardBookkeeping card;
};

// Loads TandorUtl.dll from the program's folder and runs `samples` reads
// from the receiver (0x97) and as many writes to it (0x96, 2, 0x20),
// after one of each to warm up.
UtlFigures MeasureTransactions(const SimControl* card, int samples);
