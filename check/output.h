// What the check tool prints, and where.
#pragma once

#include "textFormat.h"

// printf-style (textFormat.h) text to `out`.
void Print(TextOutput& out, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The start of a report line: its label, padded to the one width of all
// labels; "" for a line that goes on under the label of the line before.
void PrintLabel(TextOutput& out, const char* label);

// Text to `out` in which every line after the first goes on under the text
// of the report line it belongs to (CHECK_MORE, backendCheck.h): for texts
// written without the report's layout, such as a back end's advice.
class ReportContinuation : public TextOutput {
 public:
  explicit ReportContinuation(TextOutput& out) : out_(out) {}
  void Write(const char* text, int length) override;

 private:
  TextOutput& out_;
  bool lineEnded_ = false;  // the indent is owed before the next character
};

// The program's standard output, with the line ends of a Windows console
// (CR LF), each piece written at once so that the key test's lines appear
// as the keys are pressed.
class StandardOutput : public TextOutput {
 public:
  void Write(const char* text, int length) override;
};

// Waits until the user presses Enter (or standard input ends), so that a
// console window that Explorer opened does not close before it is read.
void WaitForEnter();
