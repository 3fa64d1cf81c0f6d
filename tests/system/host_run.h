// One run of the stand-in host (host.exe) in an installation folder: what
// it printed, line by line and as its session's time line, and the
// plug-in's log that it left there.
#pragma once

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

struct HostRun {
  // Runs host.exe of `installation` with `args` and `env`.
  HostRun(const harness::Installation& installation, const std::string& args,
          const std::vector<std::string>& env = {});

  bool HasLine(const std::string& line) const;
  // Lines that begin with `prefix`, in order.
  std::vector<std::string> LinesStarting(const std::string& prefix) const;
  // Timed lines whose text begins with `prefix`, in order.
  std::vector<HostEvent> EventsStarting(const std::string& prefix) const;

  harness::ProcessResult process;
  std::vector<std::string> lines;  // the output, line by line
  std::vector<HostEvent> events;   // its timed lines, in output order
  std::string log;                 // MiraboRemote.log as it is on disk
};

// An installation as `version` with host.exe and tandor.dll, and every
// back end unless `backEnds` is false.
struct HostFolder : harness::Installation {
  explicit HostFolder(const std::string& version, bool backEnds = true);
};

// How often `part` occurs in `text`.
int CountOf(const std::string& text, const std::string& part);
bool EndsWith(const std::string& text, const std::string& tail);

}  // namespace system_test
