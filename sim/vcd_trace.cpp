#include "vcd_trace.h"

#include <algorithm>

namespace sim {
namespace {

struct Signal {
  const char* id;
  const char* name;
  bool LineState::*level;
};

const Signal kSignals[] = {
    {"!", "SCL", &LineState::scl},
    {"\"", "SDA", &LineState::sda},
    {"#", "master_scl", &LineState::masterScl},
    {"$", "master_sda", &LineState::masterSda},
    {"%", "device_scl", &LineState::devicesScl},
    {"&", "device_sda", &LineState::devicesSda},
};

void AppendValue(std::string& out, const Signal& signal,
                 const LineState& state) {
  out += state.*signal.level ? '1' : '0';
  out += signal.id;
  out += '\n';
}

std::string Header(bool truncated) {
  std::string out =
      "$version Simulated Tandor card: I2C bus of BtVid_32.Dll $end\n";
  if (truncated)
    out +=
        "$comment older changes were dropped; the trace starts with the "
        "state before the oldest change kept $end\n";
  out += "$timescale 1ns $end\n$scope module i2c $end\n";
  for (const Signal& signal : kSignals)
    out +=
        std::string("$var wire 1 ") + signal.id + " " + signal.name + " $end\n";
  out += "$upscope $end\n$enddefinitions $end\n";
  return out;
}

}  // namespace

void VcdTrace::Restart(const LineState& state) {
  changes_.clear();
  initial_ = {0, state};
  dropped_ = false;
}

void VcdTrace::Record(int64_t timeNs, const LineState& state) {
  if (!enabled_) return;
  if (changes_.size() == capacity_) {
    initial_ = changes_.front();
    changes_.pop_front();
    dropped_ = true;
  }
  changes_.push_back({timeNs, state});
}

std::string VcdTrace::Render() const {
  std::string out = Header(dropped_);
  int64_t time = initial_.timeNs;
  out += "#" + std::to_string(time) + "\n$dumpvars\n";
  for (const Signal& signal : kSignals)
    AppendValue(out, signal, initial_.state);
  out += "$end\n";

  LineState previous = initial_.state;
  for (const Change& change : changes_) {
    // Changes on one counter tick stay in order, 1 ns apart.
    time = std::max(change.timeNs, time + 1);
    out += "#" + std::to_string(time) + "\n";
    for (const Signal& signal : kSignals)
      if (change.state.*signal.level != previous.*signal.level)
        AppendValue(out, signal, change.state);
    previous = change.state;
  }
  return out;
}

}  // namespace sim
