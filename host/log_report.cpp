#include "log_report.h"

#include <algorithm>
#include <string>

#include "console.h"
#include "files.h"

namespace log_report {
namespace {

const char kLogName[] = "MiraboRemote.log";
}  // namespace

void PrintLog() {
  std::string text;
  if (!harness::ReadText(kLogName, &text)) {
    console::Note("there is no %s", kLogName);
    return;
  }
  console::Note("%s:", kLogName);
  // The plug-in writes its log in text mode, so lines end in CR LF on disk;
  // they are printed with bare line feeds, like the host's own.
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  if (!text.empty() && text.back() != '\n') text += '\n';
  console::Raw(text);
  console::Note("end of %s", kLogName);
}

}  // namespace log_report
