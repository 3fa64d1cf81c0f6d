#include "sim_clock.h"

#include <windows.h>

namespace sim {
namespace {

int64_t CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// Converts without overflow for any realistic run time.
int64_t TicksTo(int64_t ticks, int64_t frequency, int64_t unitsPerSecond) {
  return ticks / frequency * unitsPerSecond +
         ticks % frequency * unitsPerSecond / frequency;
}

}  // namespace

SimClock::SimClock() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  frequency_ = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
  origin_ = CounterNow();
}

void SimClock::Restart() {
  origin_ = CounterNow();
}

int64_t SimClock::Elapsed() const {
  return CounterNow() - origin_;
}

int64_t SimClock::NowUs() const {
  return TicksTo(Elapsed(), frequency_, 1000000);
}

int64_t SimClock::NowNs() const {
  return TicksTo(Elapsed(), frequency_, 1000000000);
}

}  // namespace sim
