// The simulated card's clock: time since power-on (or the last Reset), from
// the performance counter.
#pragma once

#include <stdint.h>

namespace sim {

class SimClock {
 public:
  SimClock();
  // Time starts again from 0.
  void Restart();
  int64_t NowUs() const;
  int64_t NowNs() const;

 private:
  int64_t Elapsed() const;  // counter ticks since the origin

  int64_t frequency_;
  int64_t origin_;
};

}  // namespace sim
