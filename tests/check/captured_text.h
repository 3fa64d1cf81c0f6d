// What the check tool prints, kept as text, for the tests to read.
#pragma once

#include <string>

#include "textFormat.h"

class CapturedText : public TextOutput {
 public:
  void Write(const char* text, int length) override {
    text_.append(text, static_cast<size_t>(length));
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};
