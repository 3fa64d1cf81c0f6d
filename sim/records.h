// What the simulated card has seen, kept for tests to read back. Each list
// keeps its most recent entries up to a fixed number.
#pragma once

#include <algorithm>
#include <deque>
#include <string>

#include "control_table.h"

namespace sim {

template <typename Entry>
class BoundedLog {
 public:
  explicit BoundedLog(size_t capacity) : capacity_(capacity) {}

  void Add(const Entry& entry) {
    if (entries_.size() == capacity_) entries_.pop_front();
    entries_.push_back(entry);
  }
  void Clear() { entries_.clear(); }

  // SimControl's Get... contract (control_table.h), oldest first.
  int CopyOut(Entry* out, int capacity) const {
    if (out && capacity > 0) {
      const size_t count = std::min(entries_.size(), size_t(capacity));
      std::copy(entries_.begin(), entries_.begin() + count, out);
    }
    return static_cast<int>(entries_.size());
  }

 private:
  size_t capacity_;
  std::deque<Entry> entries_;
};

struct Records {
  BoundedLog<SimCall> calls{SIM_MAX_CALLS};
  BoundedLog<SimBusEvent> busEvents{SIM_MAX_BUS_EVENTS};
  BoundedLog<SimSoundWrite> soundWrites{SIM_MAX_SOUND_WRITES};
  BoundedLog<SimKeyRead> keyReads{SIM_MAX_KEY_READS};

  void Clear() {
    calls.Clear();
    busEvents.Clear();
    soundWrites.Clear();
    keyReads.Clear();
  }
};

// Protocol violations: how many, and what the first one was. The text
// lives in a fixed buffer, so that a pointer to it stays valid for the
// card's life (its contents change at the first violation and at Clear).
class ViolationLog {
 public:
  void Add(const std::string& text) {
    if (count_++ == 0) {
      const size_t length = std::min(text.size(), sizeof first_ - 1);
      std::copy(text.begin(), text.begin() + length, first_);
      first_[length] = '\0';
    }
  }
  void Clear() {
    count_ = 0;
    first_[0] = '\0';
  }
  int count() const { return count_; }
  const char* first() const { return first_; }

 private:
  int count_ = 0;
  char first_[512] = {};
};

}  // namespace sim
