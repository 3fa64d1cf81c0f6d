#include "plugin_log.h"

#include <stdio.h>

namespace system_test {

const char kBreakLine[] = "> Break event received. Bye!..\r\n";
const char kFindWindowLine[] = "> Find Mirabo Window. Sound is ON.\r\n";
const char kLostWindowLine[] = "> Lost Mirabo Window. Sound is OFF.\r\n";
const char kUnsupportedTail[] = "\r\n> This system don't support.";

std::string BannerLines(int keyFirstDelay, int keyRepeatDelay) {
  char delays[96];
  snprintf(delays, sizeof delays, "> KeyFirstDelay=%d, KeyRepeatDelay=%d\r\n",
           keyFirstDelay, keyRepeatDelay);
  return "> Initializing Tandor remote module.\r\n"
         "> " +
         std::string(66, '-') + "\r\n\r\n" + delays;
}

std::string VersionLine(const std::string& platformName,
                        const VersionAnswer& answer) {
  return "> Windows Version - " + platformName + VersionLineTail(answer);
}

std::string VersionLineTail(const VersionAnswer& answer) {
  char numbers[64];
  snprintf(numbers, sizeof numbers, " version %lu.%lu ", answer.major,
           answer.minor);
  char build[32];
  snprintf(build, sizeof build, " (Build %lu)\r\n", answer.build & 0xFFFF);
  return numbers + answer.csd + build;
}

std::string BoundLines(const std::string& library) {
  return "> Loading " + library +
         " ...   Ok!\r\n> Import finctions ...   Ok!\r\n";
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace system_test
