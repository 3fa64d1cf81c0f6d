// A trace of the bus lines and outputs, written as a Value Change Dump
// (IEEE 1364), which GTKWave and sigrok read. It keeps the most recent
// changes up to a fixed number; the state before the oldest one kept is
// remembered so that the dump always starts from a known state.
#pragma once

#include <stdint.h>

#include <deque>
#include <string>

#include "line_bus.h"

namespace sim {

class VcdTrace {
 public:
  explicit VcdTrace(size_t capacity) : capacity_(capacity) {}

  // Starts a new trace at time 0 from `state`.
  void Restart(const LineState& state);
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // A change of the lines or outputs at `timeNs`.
  void Record(int64_t timeNs, const LineState& state);

  std::string Render() const;

 private:
  struct Change {
    int64_t timeNs;
    LineState state;
  };

  size_t capacity_;
  bool enabled_ = true;
  bool dropped_ = false;
  Change initial_{0, LineState()};
  std::deque<Change> changes_;
};

}  // namespace sim
