// The plug-in's fixture: tandor.dll run in the test's own process, as a
// host runs it, in a new current folder (for its settings file and its
// log), on the simulated card, with the host's two objects. Also what the
// plug-in's test files share beyond it: its log's version line, the
// sound-off sequence, and child processes of this program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_log.h"

namespace remotetest {

using namespace harness;
using namespace testsupport;

// The host's application object; the plug-in only holds a reference.
using HostApplication = harness::HostObject<IRemoteHost>;

// The five settings, each written to the settings file. The delays are
// small unless said, so that tests stay quick.
struct Settings : harness::PluginSettings {
  explicit Settings(int firstDelay = 100, int repeatDelay = 50) {
    keyFirstDelay = firstDelay;
    keyRepeatDelay = repeatDelay;
  }
};

// Key delays so long that the loop's pause outlasts any test.
inline Settings MinuteLongDelays() {
  return Settings(60000, 60000);
}

class PluginTest : public ::testing::Test {
 protected:
  explicit PluginTest(const char* pluginFile = "tandor.dll");
  void SetUp() override;

  // A new plug-in object from GetInterfacePtr (fails the test on null).
  IRemoteDevice* Create();
  // A new object started with `sink` (may be null) and `host`; null, and
  // the test failed, if that did not work.
  IRemoteDevice* StartWith(IKeyEventSink* sink, IRemoteHost* host);
  // Writes `settings`, creates an object and starts it with `host_` and
  // `sink_` (or no sink).
  IRemoteDevice* StartNew(const Settings& settings = Settings());
  IRemoteDevice* StartNewWithoutSink(const Settings& settings = Settings());
  // Stops the object and releases the last reference; the second also
  // checks that Stop returned within `limitMs`.
  void StopAndRelease(IRemoteDevice* device);
  void StopPromptlyAndRelease(IRemoteDevice* device, double limitMs = 2000);
  // A short session as a host runs it: the host window is there from the
  // start; each key of `keys` is held until it is delivered once; the
  // window goes; the object is stopped and released.
  void RunSession(const Settings& settings, const std::vector<int>& keys);
  // Both host objects have `count` references.
  void ExpectHostObjectsHeld(long count) const;
  // Waits until the plug-in holds neither host object any more.
  bool WaitForHostObjectsBack(DWORD timeoutMs = 3000) const {
    return WaitUntil([&] { return host_.count() == 1 && sink_.count() == 1; },
                     timeoutMs);
  }

  void WriteSettings(const Settings& settings) {
    harness::WriteSettingsFile(dir_.path(), settings);
  }
  void WriteSettingsText(const std::string& text) {
    harness::WriteSettingsFile(dir_.path(), text);
  }
  // The log as it is on disk (CR LF line ends: it is written in text mode).
  std::string LogText() const {
    return harness::ReadText(dir_.File("MiraboRemote.log"));
  }
  std::vector<std::string> LogLines() const {
    return harness::Lines(LogText());
  }
  bool LogHas(const std::string& line) const;
  // Waits until the log holds `line`.
  bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 3000) const;

  // The simulated card's records.
  std::vector<SimKeyRead> KeyReads() const {
    return harness::Records(card_->GetKeyReads);
  }
  std::vector<SimSoundWrite> SoundWrites() const {
    return harness::Records(card_->GetSoundWrites);
  }
  // Waits until the card has recorded `count` readings of the receiver.
  bool WaitForKeyReads(size_t count, DWORD timeoutMs = 3000) const;
  bool WaitForSoundWrites(size_t count, DWORD timeoutMs = 3000) const;
  // The card's sound writes are one switching-on followed by `offs`
  // switchings-off (see ExpectSoundOff).
  void ExpectSoundOnThenOff(size_t offs) const;
  // Waits until the card has begun `count` transactions.
  bool WaitForTransactions(int count, DWORD timeoutMs = 5000) const;
  // Readings of the receiver (read transactions) recorded by the card.
  int ReadTransactions() const;

  // Destroyed in the reverse of this order, which is the point of it: the
  // plug-in library goes first (a test may unload it earlier), while the
  // card it polls and the host objects it may still hold are there; the
  // driver is held for the whole test, so that the card and its records
  // outlive the plug-in's own use of it; the current folder is given back
  // before the folder with the settings file and the log goes. The sink
  // here has no card, so its keys carry no time.
  harness::TempDir dir_;
  harness::CurrentDir currentDir_{dir_.path()};
  HostApplication host_;
  harness::KeyRecorder sink_;
  harness::SimDriver driver_;
  const SimControl* card_ = nullptr;
  harness::PluginLibrary plugin_;
  std::string loadError_;
};

// The test build of the plug-in, tandor_seam.dll, whose system calls can
// be made to fail (tests/plugin_seam).
class SeamTest : public PluginTest {
 protected:
  SeamTest() : PluginTest("tandor_seam.dll") {}
};

// Whether this program runs as a child process of a test (Child.*).
bool InChildMode();

// Runs the test `test` of this program as a child process in `dir`, with
// the environment entries `env` added.
harness::ProcessResult RunChildTest(const std::string& test,
                                    const std::string& dir,
                                    std::vector<std::string> env = {});

// The version line that the plug-in logs for this program's Windows
// version, under the platform name given.
std::string VersionLine(const std::string& platformName);

// Timer slack when comparing a measured pause with the pause asked for.
const int64_t kSlackUs = 2000;

// Checks that `writes`, from `first` on, hold one switching-off of the
// sound: 0x10 twice, then 0x40 twice, each pair written 20 ms apart and the
// two phases at least 1 ms apart.
void ExpectSoundOff(const std::vector<SimSoundWrite>& writes, size_t first);

}  // namespace remotetest
