// The key that the remote receiver sees held: pressed by hand, or following
// a script whose steps are evaluated when the key is asked for.
#pragma once

#include <stdint.h>

#include <vector>

#include "control_table.h"

namespace sim {

class KeySource {
 public:
  // A negative code releases.
  void Press(int code) {
    script_.clear();
    held_ = code < 0 ? -1 : (code & 0xFF);
  }
  // The script starts at `nowUs`.
  void Play(const SimKeyStep* steps, int count, int64_t nowUs) {
    held_ = -1;
    script_.assign(steps, steps + (steps && count > 0 ? count : 0));
    scriptStartUs_ = nowUs;
  }
  // The code held at `nowUs`, -1 for none.
  int HeldAt(int64_t nowUs) const {
    if (script_.empty()) return held_;
    const int64_t elapsedMs = (nowUs - scriptStartUs_) / 1000;
    int code = -1;
    int64_t latest = -1;
    // The step with the latest time that has come wins, so that the steps
    // need not be sorted.
    for (const SimKeyStep& step : script_) {
      if (step.atMs <= elapsedMs && step.atMs >= latest) {
        latest = step.atMs;
        code = step.code < 0 ? -1 : (step.code & 0xFF);
      }
    }
    return code;
  }

 private:
  int held_ = -1;
  std::vector<SimKeyStep> script_;
  int64_t scriptStartUs_ = 0;
};

}  // namespace sim
