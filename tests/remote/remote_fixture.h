// The plug-in's fixture: tandor.dll run in the test's own process, as a
// host runs it, in a new current folder (for its settings file and its
// log), on the simulated card, with the host's two objects. Also what the
// plug-in's test files share beyond it: its log's version line, the
// sound-off sequence, and child processes of this program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_log.h"
#include "timed_work.h"

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

  // Each makes device_ a new plug-in object and fails the test fatally if
  // it cannot (call them through ASSERT_NO_FATAL_FAILURE): Create from
  // GetInterfacePtr; StartWith also starts it with `sink` (may be null) and
  // `host`; StartNew writes `settings` first and starts it with `host_` and
  // `sink_` (or no sink).
  void Create();
  void StartWith(IKeyEventSink* sink, IRemoteHost* host);
  void StartNew(const Settings& settings = Settings()) {
    WriteSettings(settings);
    StartWith(&sink_, &host_);
  }
  void StartNewWithoutSink(const Settings& settings = Settings()) {
    WriteSettings(settings);
    StartWith(nullptr, &host_);
  }
  // Stops the object and releases the last reference; the second also
  // checks that Stop returned within `limitMs`.
  void StopAndRelease(IRemoteDevice* device) {
    EXPECT_EQ(S_OK, device->Stop());
    EXPECT_EQ(0u, device->Release());
  }
  void StopPromptlyAndRelease(IRemoteDevice* device, double limitMs = 2000) {
    EXPECT_LT(TimedStop(device), limitMs);
    EXPECT_EQ(0u, device->Release());
  }
  // A short session as a host runs it: the host window is there from the
  // start; each key of `keys` is held until it is delivered once; the
  // window goes; the object is stopped and released.
  void RunSession(const Settings& settings, const std::vector<int>& keys);
  // Both host objects have `count` references.
  void ExpectHostObjectsHeld(long count) const {
    EXPECT_EQ(count, host_.count());
    EXPECT_EQ(count, sink_.count());
  }
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
  bool LogHas(const std::string& line) const {
    std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 3000) const {
    return WaitUntil([&] { return LogHas(line); }, timeoutMs);
  }

  // The simulated card's records, and waits until it has recorded `count`
  // readings of the receiver, sound writes or begun transactions.
  std::vector<SimKeyRead> KeyReads() const {
    return harness::Records(card_->GetKeyReads);
  }
  std::vector<SimSoundWrite> SoundWrites() const {
    return harness::Records(card_->GetSoundWrites);
  }
  bool WaitForKeyReads(size_t count, DWORD timeoutMs = 3000) const {
    return WaitUntil([&] { return KeyReads().size() >= count; }, timeoutMs);
  }
  bool WaitForSoundWrites(size_t count, DWORD timeoutMs = 3000) const {
    return WaitUntil([&] { return SoundWrites().size() >= count; }, timeoutMs);
  }
  bool WaitForTransactions(int count, DWORD timeoutMs = 5000) const {
    return WaitUntil([&] { return card_->TransactionCount() >= count; },
                     timeoutMs);
  }
  // The card's sound writes are one switching-on followed by `offs`
  // switchings-off (see ExpectSoundOff).
  void ExpectSoundOnThenOff(size_t offs) const;
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
  IRemoteDevice* device_ = nullptr;
};

// The test build of the plug-in, tandor_seam.dll, whose system calls can
// be made to fail (tests/plugin_seam).
class SeamTest : public PluginTest {
 protected:
  SeamTest() : PluginTest("tandor_seam.dll") {}
};

// An event, manual-reset and not signalled, closed with its owner.
struct Event {
  Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event() { CloseHandle(handle); }
  const HANDLE handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
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
