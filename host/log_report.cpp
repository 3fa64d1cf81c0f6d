#include "log_report.h"

#include <stdio.h>

#include <string>

#include "console.h"

namespace log_report {
namespace {

const char kLogName[] = "MiraboRemote.log";

// The log as its lines: the plug-in writes it in text mode, so lines end in
// CR LF on disk; they are printed with bare line feeds, like the host's own.
std::string ReadLog(bool* found) {
  std::string text;
  FILE* file = fopen(kLogName, "rb");
  *found = file != nullptr;
  if (!file) return text;
  int c;
  while ((c = fgetc(file)) != EOF) {
    if (c != '\r') text += static_cast<char>(c);
  }
  fclose(file);
  return text;
}

}  // namespace

void PrintLog() {
  bool found;
  std::string text = ReadLog(&found);
  if (!found) {
    console::Note("there is no %s", kLogName);
    return;
  }
  console::Note("%s:", kLogName);
  if (!text.empty() && text.back() != '\n') text += '\n';
  console::Raw(text);
  console::Note("end of %s", kLogName);
}

}  // namespace log_report
