// An oracle: stated again on purpose, apart from utl/'s bit engine.
// The driver calls that a software I2C transaction should make, written
// down step by step in the notation of card_fixture.h, for a bus on which
// every released line reads back high at its first sample and the device
// acknowledges at its first sample.
#pragma once

#include <string>
#include <vector>

#include "line_waits.h"

namespace utltest {

class LineScript {
 public:
  LineScript& Mode(int mode) {
    return Add({"mode(" + std::to_string(mode) + ")"});
  }
  // A released line read back high at once.
  LineScript& RaiseScl() { return Add({"scl=1", "scl?1"}); }
  LineScript& RaiseSda() { return Add({"sda=1", "sda?1"}); }
  // Both lines raised, then SDA and SCL driven low.
  LineScript& Start() { return RaiseScl().RaiseSda().Add({"sda=0", "scl=0"}); }
  // SDA low, SCL up, SDA up, then one more clock pulse.
  LineScript& Stop() {
    return Add({"sda=0"}).RaiseScl().RaiseSda().Add({"scl=0"}).RaiseScl();
  }
  // Eight bits, most significant first: SDA set, one clock pulse.
  LineScript& Send(int byte) {
    for (int bit = 7; bit >= 0; --bit) {
      byte >> bit & 1 ? RaiseSda() : Add({"sda=0"});
      RaiseScl().Add({"scl=0"});
    }
    return *this;
  }
  // SDA released, SCL raised, SDA sampled low, SCL low.
  LineScript& Ack() {
    return Add({"sda=1"}).RaiseScl().Add({"sda?0", "scl=0"});
  }
  // As Ack, but SDA sampled high as often as an acknowledge is awaited.
  LineScript& Nack() {
    Add({"sda=1"}).RaiseScl().Add("sda?1", testsupport::kAckSamples);
    return Add({"scl=0"});
  }
  // Eight clock pulses, SDA sampled in each.
  LineScript& Receive(int byte) {
    for (int bit = 7; bit >= 0; --bit)
      RaiseScl().Add({byte >> bit & 1 ? "sda?1" : "sda?0", "scl=0"});
    return *this;
  }
  // SDA low, one clock pulse.
  LineScript& MasterAck() { return Add({"sda=0"}).RaiseScl().Add({"scl=0"}); }
  // Any further calls, in notation.
  LineScript& Add(const std::vector<std::string>& calls) {
    calls_.insert(calls_.end(), calls.begin(), calls.end());
    return *this;
  }
  LineScript& Add(const std::string& call, int times) {
    return Add(std::vector<std::string>(times, call));
  }

  std::string str() const {
    std::string text;
    for (const std::string& call : calls_)
      text += (text.empty() ? "" : " ") + call;
    return text;
  }
  const std::vector<std::string>& calls() const { return calls_; }
  // How many calls so far begin with `prefix` ("sda=" counts the SDA
  // settings): the number that a fault's `call` gives the next such call.
  int Count(const std::string& prefix) const {
    int count = 0;
    for (const std::string& call : calls_)
      count += call.compare(0, prefix.size(), prefix) == 0;
    return count;
  }

 private:
  std::vector<std::string> calls_;
};

// The fixture's frames up to their first data: the sound-on write up to its
// address byte, the read of the receiver up to the byte it sends.
inline LineScript Write3Start() {
  return LineScript().Mode(1000).Start();
}
inline LineScript ReadAddressed() {
  return LineScript().Mode(6000).Start().Send(0x97).Ack();
}

}  // namespace utltest
