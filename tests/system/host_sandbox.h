// A folder laid out like a Mirabo installation, for running the stand-in
// host in a child process: the host under a versioned file name (Wine picks
// the Windows version by it), the plug-in, and the back-end pieces a test
// chooses, all from the build's bin folder. Settings and log live there too.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "harness.h"

namespace system_test {

// What a probe program of the same version name sees from GetVersionExA.
struct VersionAnswer {
  bool answered = false;
  unsigned long platform = 0, major = 0, minor = 0, build = 0;
  std::string csd;
};

// One line of the host's session time line: "<ms> ms  <text>".
struct HostEvent {
  long ms;
  std::string text;
};

struct HostRun {
  harness::ProcessResult process;
  std::vector<std::string> lines;  // the output, line by line
  std::vector<HostEvent> events;   // its timed lines, in output order
  std::string log;                 // MiraboRemote.log as it is on disk

  bool HasLine(const std::string& line) const;
  // Lines that begin with `prefix`, in order.
  std::vector<std::string> LinesStarting(const std::string& prefix) const;
  // Timed lines whose text begins with `prefix`, in order.
  std::vector<HostEvent> EventsStarting(const std::string& prefix) const;
};

class HostSandbox {
 public:
  // The host as host-<version>.exe and tandor.dll.
  explicit HostSandbox(const std::string& windowsVersion);

  // Back-end pieces, each copied from the bin folder (or a variant folder).
  void AddTandorUtl();
  void AddSimulatedDriver();
  void AddSimulatedWdm();
  // A whole installation: all of the above.
  void AddEverything();
  // Copies bin\variants\<variant>\<file> into the sandbox as <file>.
  void AddVariant(const std::string& variant, const std::string& file);

  void WriteSettings(const std::string& iniBody);
  HostRun RunHost(const std::string& args,
                  const std::vector<std::string>& env = {}) const;
  VersionAnswer RunProbe() const;
  const std::string& path() const { return dir_.path(); }

 private:
  void CopyFromBin(const std::string& file, const std::string& newName = "");

  std::string version_;
  harness::TempDir dir_;
};

}  // namespace system_test
