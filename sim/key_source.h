// The key that the remote receiver sees held: pressed by hand, or following
// a script whose steps are evaluated when the key is asked for.
#pragma once

#include <stdint.h>

#include <vector>

#include "control_table.h"

namespace sim {

class KeySource {
 public:
  void Press(int code);
  void Release();
  // The script starts at `nowUs`.
  void Play(const SimKeyStep* steps, int count, int64_t nowUs);
  // The code held at `nowUs`, -1 for none.
  int HeldAt(int64_t nowUs) const;

 private:
  int held_ = -1;
  std::vector<SimKeyStep> script_;
  int64_t scriptStartUs_ = 0;
};

}  // namespace sim
