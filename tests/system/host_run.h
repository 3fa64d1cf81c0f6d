// One run of the stand-in host (host.exe) in an installation folder: what
// it printed, line by line and as its session's time line, and the
// plug-in's log that it left there.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "harness.h"
#include "plugin_log.h"

namespace system_test {

using namespace testsupport;

// One line of the host's session time line: "<ms> ms  <text>".
struct HostEvent {
  long ms;
  std::string text;
};

inline bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

inline bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// How often `part` occurs in `text`.
inline int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size()))
    ++count;
  return count;
}

struct HostRun {
  // Runs host.exe of `installation` with `args` and `env`.
  HostRun(const harness::Installation& installation, const std::string& args,
          const std::vector<std::string>& env = {})
      : process(installation.Run("host.exe", args, env)),
        lines(harness::Lines(process.output)),
        log(harness::ReadText(installation.File("MiraboRemote.log"))) {
    EXPECT_TRUE(installation.complete()) << installation.missing();
    // "    532 ms  sound on (0x20)" -> {532, "sound on (0x20)"}.
    for (const std::string& line : lines) {
      size_t unit = line.find(" ms  ");
      size_t digits = line.find_first_not_of(' ');
      if (unit == std::string::npos || digits >= unit ||
          line.find_first_not_of("-0123456789", digits) != unit)
        continue;
      events.push_back(
          {strtol(line.c_str(), nullptr, 10), line.substr(unit + 5)});
    }
  }

  bool HasLine(const std::string& line) const {
    for (const std::string& candidate : lines)
      if (candidate == line) return true;
    return false;
  }
  // Lines that begin with `prefix`, in order.
  std::vector<std::string> LinesStarting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines)
      if (StartsWith(line, prefix)) found.push_back(line);
    return found;
  }
  // Timed lines whose text begins with `prefix`, in order.
  std::vector<HostEvent> EventsStarting(const std::string& prefix) const {
    std::vector<HostEvent> found;
    for (const HostEvent& event : events)
      if (StartsWith(event.text, prefix)) found.push_back(event);
    return found;
  }

  harness::ProcessResult process;
  std::vector<std::string> lines;  // the output, line by line
  std::vector<HostEvent> events;   // its timed lines, in output order
  std::string log;                 // MiraboRemote.log as it is on disk
};

// The host's line for a box of the plug-in's fatal path with `text`.
inline std::string FatalBox(const std::string& escapedText) {
  return "host: message box: caption \"Error\", icon error, owner desktop, "
         "text \"" +
         escapedText + "\"; answered \"OK\"";
}

// An installation as `version` with host.exe and tandor.dll, and every
// back end that the plug-in may bind unless `backEnds` is false.
struct HostFolder : harness::Installation {
  explicit HostFolder(const std::string& version, bool backEnds = true)
      : Installation(version) {
    Add("host.exe").Add("tandor.dll");
    if (backEnds) Add("TandorUtl.dll").Add("BtVid_32.Dll").Add("wdmI2cDll.dll");
  }
};

}  // namespace system_test
