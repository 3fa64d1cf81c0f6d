// The SIMCARD environment variable: settings for a simulated card in a
// process that tests cannot reach before it loads the driver (see
// control_table.h for the syntax).
#pragma once

#include <string>
#include <vector>

#include "control_table.h"

namespace sim {

struct SimSettings {
  std::vector<SimFault> faults;
  std::vector<SimKeyStep> keys;  // empty: no key script
  std::string vcdPath;
  std::vector<std::string> rejected;  // settings not understood
};

SimSettings ParseSimSettings(const std::string& text);

}  // namespace sim
