// What the plug-in's tests share beyond the plug-in fixture
// (tests/support/plugin_test.h): child processes, the version line, and the
// sound-off sequence.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_test.h"

namespace remotetest {

using testsupport::HostApplication;
using testsupport::MinuteLongDelays;
using testsupport::PluginTest;
using testsupport::Settings;
using testsupport::SplitLogLines;

// Whether this program runs as a child process of a test (RemoteChild.*).
bool InChildMode();

// Runs the test `test` of this program as a child process in `dir`, with
// the environment entries `env` added.
harness::ProcessResult RunChildTest(const std::string& test,
                                    const std::string& dir,
                                    std::vector<std::string> env = {});

// Sets an environment variable of this process for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
};

// The version line that the plug-in logs for this program's Windows
// version, under the platform name given.
std::string VersionLine(const std::string& platformName);

// Timer slack when comparing a measured pause with the pause asked for.
const int64_t kSlackUs = 2000;

// Checks that `writes`, from `first` on, hold one switching-off of the
// sound: 0x10 twice, then 0x40 twice, each pair written 20 ms apart and the
// two phases at least 1 ms apart.
void ExpectSoundOff(const std::vector<SimSoundWrite>& writes, size_t first);

// A key held from `atMs` on; -1 releases.
inline SimKeyStep Step(int atMs, int code) {
  return SimKeyStep{atMs, code};
}

}  // namespace remotetest
