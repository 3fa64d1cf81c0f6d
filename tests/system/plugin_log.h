// The plug-in's log texts as they stand in "MiraboRemote.log": written in
// text mode, so each line feed of a message is CR LF on disk.
#pragma once

#include <string>

#include "host_sandbox.h"

namespace system_test {

// The three lines that open every object's log, with the delays in force.
std::string BannerLines(int keyFirstDelay, int keyRepeatDelay);

// "> Windows Version - ..." as the plug-in must write it from these answers,
// with the platform name that the version table gives them.
std::string VersionLine(const std::string& platformName,
                        const VersionAnswer& answer);
// The same line from " version" on, for a platform without a fixed name.
std::string VersionLineTail(const VersionAnswer& answer);

// The two lines of a successful binding of "tandorutl.dll" or
// "wdmI2cDll.dll".
std::string BoundLines(const std::string& library);

extern const char kBreakLine[];
extern const char kFindWindowLine[];
extern const char kLostWindowLine[];
// The log message of the refusal; the process ends right after it.
extern const char kUnsupportedTail[];

// How often `part` occurs in `text`.
int CountOf(const std::string& text, const std::string& part);
bool EndsWith(const std::string& text, const std::string& tail);

}  // namespace system_test
