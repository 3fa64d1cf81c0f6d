#include "bus_lock_bench.h"

#include <vector>

#include "busLock.h"

namespace {

const int kRounds = 21;
const int kPairsPerRound = 200000;

}  // namespace

BusLockFigures MeasureBusLock(const SimControl* card) {
  BusLockFigures figures;
  figures.rounds = kRounds;
  figures.pairsPerRound = kPairsPerRound;
  std::vector<double> pairNs;
  for (int round = 0; round < kRounds; ++round) {
    long long startUs = card->NowUs();
    for (int pair = 0; pair < kPairsPerRound; ++pair) {
      AcquireBusLock();
      ReleaseBusLock();
    }
    pairNs.push_back(1000.0 * static_cast<double>(card->NowUs() - startUs) /
                     kPairsPerRound);
  }
  figures.pairNs = Summarize(pairNs);
  return figures;
}
