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
std::vector<std::string> BannerLines(int keyFirstDelay, int keyRepeatDelay);
// "> Windows Version - ..." for these answers of GetVersionExA.
std::string VersionLine(const std::string& platformName, unsigned long major,
                        unsigned long minor, const std::string& csd,
                        unsigned long build);
// The two lines of a successful binding of "tandorutl.dll" or
// "wdmI2cDll.dll".
std::vector<std::string> BoundLines(const std::string& library);
// The lines as the file holds them.
std::string OnDisk(const std::vector<std::string>& lines);

}  // namespace testsupport
