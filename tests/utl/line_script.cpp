// An oracle: stated again on purpose, apart from utl/'s bit engine.
#include "line_script.h"

#include "line_waits.h"

namespace utltest {

LineScript& LineScript::Mode(int mode) {
  return Add({"mode(" + std::to_string(mode) + ")"});
}

LineScript& LineScript::Start() {
  RaiseScl();
  RaiseSda();
  return Add({"sda=0", "scl=0"});
}

LineScript& LineScript::Stop() {
  Add({"sda=0"});
  RaiseScl();
  RaiseSda();
  Add({"scl=0"});
  return RaiseScl();
}

LineScript& LineScript::Send(int byte) {
  for (int bit = 7; bit >= 0; --bit) {
    if (byte >> bit & 1) {
      RaiseSda();
    } else {
      Add({"sda=0"});
    }
    RaiseScl();
    Add({"scl=0"});
  }
  return *this;
}

LineScript& LineScript::Ack() {
  Add({"sda=1"});
  RaiseScl();
  return Add({"sda?0", "scl=0"});
}

LineScript& LineScript::Nack() {
  Add({"sda=1"});
  RaiseScl();
  return Add("sda?1", testsupport::kAckSamples).Add({"scl=0"});
}

LineScript& LineScript::Receive(int byte) {
  for (int bit = 7; bit >= 0; --bit) {
    RaiseScl();
    Add({byte >> bit & 1 ? "sda?1" : "sda?0", "scl=0"});
  }
  return *this;
}

LineScript& LineScript::MasterAck() {
  Add({"sda=0"});
  RaiseScl();
  return Add({"scl=0"});
}

LineScript& LineScript::Add(const std::vector<std::string>& calls) {
  calls_.insert(calls_.end(), calls.begin(), calls.end());
  return *this;
}

std::string LineScript::str() const {
  std::string text;
  for (const std::string& call : calls_) {
    if (!text.empty()) text += " ";
    text += call;
  }
  return text;
}

int LineScript::Count(const std::string& prefix) const {
  int count = 0;
  for (const std::string& call : calls_) {
    if (call.compare(0, prefix.size(), prefix) == 0) ++count;
  }
  return count;
}

}  // namespace utltest
