// What the plug-in's tests share: host objects that count their
// references, a key event sink that records, the host's main window, the
// settings file, the log, the simulated card's records and child processes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_objects.h"
#include "remoteInterfaces.h"
#include "testsupport.h"

namespace remotetest {

// The host's objects, shared with the campaigns; the sink here has no
// card, so its keys carry no time.
using CountingHost = testsupport::Counted<IRemoteHost>;
using testsupport::KeyEvent;
using testsupport::RecordingSink;

using testsupport::HostWindow;

// The five settings, each written to the settings file. The delays are
// small so that tests stay quick.
struct Settings {
  int keyFirstDelay = 100;
  int keyRepeatDelay = 50;
  int leaveSoundOnExit = 0;
  int useAcorpCompMode = 0;
  int useLog = 1;
};

std::string SettingsText(const Settings& settings);

// Key delays so long that the loop's pause outlasts any test.
Settings MinuteLongDelays();

// The lines of a log written in text mode (CR LF line ends).
std::vector<std::string> SplitLogLines(const std::string& text);

// Whether this program runs as a child process of a test (RemoteChild.*).
bool InChildMode();

// Runs the test `test` of this program as a child process in `dir`, with
// the environment entries `env` added.
testsupport::ProcessResult RunChildTest(const std::string& test,
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

// The entry flag as the shared region holds it now, -1 without a region.
int EntryFlagNow();

// The version line that the plug-in logs for this program's Windows
// version, under the platform name given.
std::string VersionLine(const std::string& platformName);

// Timer slack when comparing a measured pause with the pause asked for.
const int64_t kSlackUs = 2000;

// Checks that `writes`, from `first` on, hold one switching-off of the
// sound: 0x10 twice, then 0x40 twice, each pair written 20 ms apart and the
// two phases at least 1 ms apart.
void ExpectSoundOff(const std::vector<SimSoundWrite>& writes, size_t first);

// Every test runs in a new folder of its own, the current folder, which
// holds the settings file and the log. The simulated card is loaded and
// reset, and the plug-in library is loaded from the bin folder.
class PluginTest : public ::testing::Test {
 protected:
  explicit PluginTest(const char* pluginFile = "tandor.dll");
  void SetUp() override;
  void TearDown() override;

  // A new plug-in object from GetInterfacePtr (fails the test on null).
  IRemoteDevice* Create();
  IRemoteDevice* CreateOrNull();
  // Writes `settings`, creates an object and starts it with `host_` and
  // `sink_` (or no sink); null, and the test failed, if that did not work.
  IRemoteDevice* StartNew(const Settings& settings = Settings());
  IRemoteDevice* StartNewWithoutSink(const Settings& settings = Settings());
  // The same with `sink_` and a host object of the test's own.
  IRemoteDevice* StartNewWithHost(IRemoteHost* host);
  // Stops the object and releases the last reference.
  void StopAndRelease(IRemoteDevice* device);
  // A short session as a host runs it: the host window is there from the
  // start; each key of `keys` is held until it is delivered once; the
  // window goes; the object is stopped and released.
  void RunSession(const Settings& settings, const std::vector<int>& keys);
  // Both host objects have `count` references.
  void ExpectHostObjectsHeld(long count) const;

  void WriteSettings(const Settings& settings);
  void WriteSettingsText(const std::string& text);
  std::string LogText() const;
  std::vector<std::string> LogLines() const;
  bool LogHas(const std::string& line) const;
  // Waits until the log holds `line`.
  bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 3000) const;

  // The simulated card and its records.
  const SimControl& sim() const { return *sim_; }
  std::vector<SimKeyRead> KeyReads() const;
  std::vector<SimSoundWrite> SoundWrites() const;
  std::vector<SimBusEvent> BusEvents() const;
  // Waits until the card has recorded `count` readings of the receiver.
  bool WaitForKeyReads(size_t count, DWORD timeoutMs = 3000) const;
  bool WaitForSoundWrites(size_t count, DWORD timeoutMs = 3000) const;

  // The plug-in library; the test may unload it early (then sets it null).
  HMODULE plugin_ = nullptr;
  testsupport::TempDir dir_;
  // The host objects that StartNew gives the object.
  CountingHost host_;
  RecordingSink sink_;

 private:
  std::string pluginFile_;
  testsupport::CurrentDir currentDir_;
  HMODULE simDriver_ = nullptr;
  const SimControl* sim_ = nullptr;
};

// A key held from `atMs` on; -1 releases.
inline SimKeyStep Step(int atMs, int code) {
  return SimKeyStep{atMs, code};
}

}  // namespace remotetest
