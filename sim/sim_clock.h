// The simulated card's clock: time since power-on (or the last Reset), from
// the performance counter.
#pragma once

#include <stdint.h>
#include <windows.h>

namespace sim {

class SimClock {
 public:
  SimClock() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
  }
  // Time starts again from 0.
  void Restart() { origin_ = Counter(); }
  // Converted without overflow for any realistic run time.
  int64_t NowNs() const {
    const int64_t ticks = Counter() - origin_;
    return ticks / frequency_ * 1000000000 +
           ticks % frequency_ * 1000000000 / frequency_;
  }
  int64_t NowUs() const { return NowNs() / 1000; }

 private:
  static int64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }

  int64_t frequency_;
  int64_t origin_ = Counter();
};

}  // namespace sim
