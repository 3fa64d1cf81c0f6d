// Standard output and input of the console the tool runs in.

#include "output.h"

#include <windows.h>

#include "textFile.h"

void Print(TextOutput& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatText(out, format, args);
  va_end(args);
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
