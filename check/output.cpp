// Standard output and input of the console the tool runs in.

#include "output.h"

#include <windows.h>

#include "backendCheck.h"
#include "textFile.h"

void Print(TextOutput& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatText(out, format, args);
  va_end(args);
}

void PrintLabel(TextOutput& out, const char* label) {
  Print(out, "%-14s", label);
}

void ReportContinuation::Write(const char* text, int length) {
  static const char kLineBreak[] = CHECK_MORE;  // the line end, the indent
  while (length > 0) {
    if (lineEnded_) out_.Write(kLineBreak + 1, sizeof kLineBreak - 2);
    int line = 0;  // up to and with the next line end
    while (line < length && text[line++] != '\n') {
    }
    out_.Write(text, line);
    lineEnded_ = text[line - 1] == '\n';
    text += line;
    length -= line;
  }
}

void StandardOutput::Write(const char* text, int length) {
  TextFileWriter writer(GetStdHandle(STD_OUTPUT_HANDLE));
  writer.Write(text, length);
}

void WaitForEnter() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char c = 0;
  DWORD read = 0;
  while (ReadFile(input, &c, 1, &read, nullptr) && read == 1 && c != '\n') {
  }
}
