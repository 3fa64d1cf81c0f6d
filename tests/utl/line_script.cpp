// An oracle: stated again on purpose, apart from utl/'s bit engine.
#include "line_script.h"

namespace utltest {

LineScript& LineScript::Send(int byte) {
  for (int bit = 7; bit >= 0; --bit) {
    byte >> bit & 1 ? RaiseSda() : Add({"sda=0"});
    RaiseScl().Add({"scl=0"});
  }
  return *this;
}

LineScript& LineScript::Receive(int byte) {
  for (int bit = 7; bit >= 0; --bit) {
    RaiseScl();
    Add({byte >> bit & 1 ? "sda?1" : "sda?0", "scl=0"});
  }
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
  for (const std::string& call : calls_)
    count += call.compare(0, prefix.size(), prefix) == 0;
  return count;
}

}  // namespace utltest
