// The plug-in's log lines, stated again here on purpose, apart from
// remote/, as the tests' oracle (the misspellings are the log's own). The
// log is written in text mode: on disk each line ends in CR LF.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

const char kFindWindowLine[] = "> Find Mirabo Window. Sound is ON.";
const char kLostWindowLine[] = "> Lost Mirabo Window. Sound is OFF.";
const char kBreakLine[] = "> Break event received. Bye!..";
// How the log of a refused Windows ends: the process ends right after.
const char kUnsupportedTail[] = "\r\n> This system don't support.";

// The four lines that open every object's log, with the delays it read.
inline std::vector<std::string> BannerLines(int keyFirstDelay,
                                            int keyRepeatDelay) {
  return {"> Initializing Tandor remote module.", "> " + std::string(66, '-'),
          "",
          "> KeyFirstDelay=" + std::to_string(keyFirstDelay) +
              ", KeyRepeatDelay=" + std::to_string(keyRepeatDelay)};
}

// "> Windows Version - ..." for these answers of GetVersionExA.
inline std::string VersionLine(const std::string& platformName,
                               unsigned long major, unsigned long minor,
                               const std::string& csd, unsigned long build) {
  return "> Windows Version - " + platformName + " version " +
         std::to_string(major) + "." + std::to_string(minor) + " " + csd +
         " (Build " + std::to_string(build & 0xFFFF) + ")";
}

// The two lines of a successful binding of "tandorutl.dll" or
// "wdmI2cDll.dll".
inline std::vector<std::string> BoundLines(const std::string& library) {
  return {"> Loading " + library + " ...   Ok!",
          "> Import finctions ...   Ok!"};
}

// The lines as the file holds them.
inline std::string OnDisk(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace testsupport
