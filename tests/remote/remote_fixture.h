// The plug-in's fixture: tandor.dll run in the test's own process, as a
// host runs it, in a new current folder (for its settings file and its
// log), on the simulated card, with the host's two objects. Also what the
// plug-in's test files share beyond it: what an object's creation logs, the
// sound-off sequence, and child processes of this program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driverApi.h"
#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_log.h"
#include "timed_work.h"

namespace remotetest {

using namespace harness;
using namespace testsupport;

// The host's application object; the plug-in only holds a reference. A
// host may call back into the object from the application object's Release
// on its last reference: `callBack` runs once the plug-in gave back its own.
class HostApplication : public harness::HostObject<IRemoteHost> {
 public:
  ULONG __stdcall Release() override {
    ULONG count = HostObject::Release();
    if (count == 1 && callBack) callBack();
    return count;
  }
  std::function<void()> callBack;
};

// The five settings, each written to the settings file. The delays are
// small unless said, so that tests stay quick.
struct Settings : harness::PluginSettings {
  explicit Settings(int firstDelay = 100, int repeatDelay = 50) {
    keyFirstDelay = firstDelay;
    keyRepeatDelay = repeatDelay;
  }
};

// Key delays so long that the loop's pause outlasts any test.
const Settings kMinuteLongDelays(60000, 60000);

class PluginTest : public ::testing::Test {
 protected:
  explicit PluginTest(const char* pluginFile = "tandor.dll") {
    if (driver_.Load()) card_ = driver_.card();
    plugin_.Load(BinFile(pluginFile), &loadError_);
  }
  void SetUp() override {
    ASSERT_TRUE(driver_.held()) << "cannot load the simulated card";
    ASSERT_NE(nullptr, card_);
    card_->Reset();
    ASSERT_TRUE(plugin_.loaded()) << loadError_;
    WriteSettings(Settings());  // a test starts with the small delays
  }

  // Each makes device_ a new plug-in object and fails the test fatally if
  // it cannot (call them through ASSERT_NO_FATAL_FAILURE): Create from
  // GetInterfacePtr; StartWith also starts it with `sink` (may be null) and
  // `host`; StartNew writes `settings` first and starts it with `host_` and
  // `sink_` (or no sink).
  void Create() {
    device_ = plugin_.CreateObject();
    ASSERT_NE(nullptr, device_) << "GetInterfacePtr";
  }
  void StartWith(IKeyEventSink* sink, IRemoteHost* host) {
    ASSERT_NO_FATAL_FAILURE(Create());
    HRESULT started = device_->Start(sink, host);
    if (started != S_OK) device_->Release();
    ASSERT_EQ(S_OK, started) << "Start";
  }
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
  void RunSession(const Settings& settings, const std::vector<int>& keys) {
    std::unique_ptr<HostWindow> window(new HostWindow);
    ASSERT_NO_FATAL_FAILURE(StartNew(settings));
    ASSERT_TRUE(WaitForSoundWrites(1)) << "no sound on";
    for (int code : keys) {
      size_t delivered = sink_.size();
      card_->PressKey(code);
      ASSERT_TRUE(sink_.WaitForKeys(delivered + 1)) << "key " << code;
      card_->ReleaseKey();
    }
    window.reset();
    ASSERT_TRUE(WaitForSoundWrites(5)) << "no sound off";
    StopAndRelease(device_);
  }
  void ExpectHostObjectsHeld(long count) const {
    EXPECT_EQ(count, host_.count());
    EXPECT_EQ(count, sink_.count());
  }
  // Waits until the plug-in holds neither host object any more.
  bool WaitForHostObjectsBack(DWORD timeoutMs = 3000) const {
    return WaitUntil([&] { return host_.count() == 1 && sink_.count() == 1; },
                     timeoutMs);
  }

  // Writes the settings file: `settings`, or a text as it is.
  template <class SettingsOrText>
  void WriteSettings(const SettingsOrText& settings) {
    harness::WriteSettingsFile(dir_.path(), settings);
  }
  // The log as it is on disk (CR LF line ends: it is written in text mode).
  std::string LogText() const {
    return harness::ReadText(dir_.File("MiraboRemote.log"));
  }
  std::vector<std::string> LogLines() const {
    return harness::Lines(LogText());
  }
  // How many lines of the log are `line`.
  size_t LogCount(const std::string& line) const {
    std::vector<std::string> lines = LogLines();
    return std::count(lines.begin(), lines.end(), line);
  }
  bool LogHas(const std::string& line) const { return LogCount(line) > 0; }
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
  // Readings of the receiver (read transactions) recorded by the card.
  int ReadTransactions() const {
    int reads = 0;
    for (const SimCall& call : Records(card_->GetCalls))
      if (call.function == kDrv_I2CInitSWMode && call.args[0] == 6000) ++reads;
    return reads;
  }

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

const char kChildVariable[] = "TANDOR_REMOTE_CHILD";

// Whether this program runs as a child process of a test (Child.*).
inline bool InChildMode() {
  char value[8];
  DWORD length = GetEnvironmentVariableA(kChildVariable, value, sizeof value);
  return length > 0 && length < sizeof value;
}

// Runs the test `test` of this program as a child process in `dir`, with
// the environment entries `env` added.
inline ProcessResult RunChildTest(const std::string& test,
                                  const std::string& dir,
                                  std::vector<std::string> env = {}) {
  env.push_back(std::string(kChildVariable) + "=1");
  return RunProcess(ModulePath(nullptr), "--gtest_filter=" + test, dir, 30000,
                    env);
}

// A Windows the plug-in tells apart: its platform name in the version line,
// and the back end that the plug-in binds there.
struct Platform {
  const char* name;
  const char* backEnd;
};
const Platform kWin98 = {"Microsoft Windows 98 or Millenium", "tandorutl.dll"};
const Platform kWin2000 = {"Microsoft Windows 2000 ", "wdmI2cDll.dll"};

// The bytes that an object made with `settings` on `platform` logs, as text
// mode writes them (every line ends in CR LF, the last one too): the banner,
// the version line for this program's Windows version, the binding's two
// lines, then `later`.
inline std::string LogOf(const Platform& platform, const Settings& settings,
                         const std::vector<std::string>& later = {}) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  std::vector<std::string> lines =
      BannerLines(settings.keyFirstDelay, settings.keyRepeatDelay);
  lines.push_back(VersionLine(platform.name, version.dwMajorVersion,
                              version.dwMinorVersion, version.szCSDVersion,
                              version.dwBuildNumber));
  for (const std::string& line : BoundLines(platform.backEnd))
    lines.push_back(line);
  lines.insert(lines.end(), later.begin(), later.end());
  return OnDisk(lines);
}

// Timer slack when comparing a measured pause with the pause asked for.
const int64_t kSlackUs = 2000;

// Checks that `writes` are one switching-on of the sound (0x20) followed by
// `offs` switchings-off: each 0x10 twice, then 0x40 twice, each pair written
// 20 ms apart and the two phases at least 1 ms apart.
inline void ExpectSoundOnThenOff(const std::vector<SimSoundWrite>& writes,
                                 size_t offs) {
  ASSERT_EQ(1 + 4 * offs, writes.size());
  EXPECT_EQ(0x20, writes[0].value);
  for (size_t first = 1; first < writes.size(); first += 4) {
    const SimSoundWrite* off = &writes[first];
    EXPECT_EQ(0x10, off[0].value) << "write " << first;
    EXPECT_EQ(0x10, off[1].value) << "write " << first + 1;
    EXPECT_EQ(0x40, off[2].value) << "write " << first + 2;
    EXPECT_EQ(0x40, off[3].value) << "write " << first + 3;
    EXPECT_GE(off[1].timeUs - off[0].timeUs, 20000 - kSlackUs);
    EXPECT_GE(off[2].timeUs - off[1].timeUs, 1000 - kSlackUs / 4);
    EXPECT_GE(off[3].timeUs - off[2].timeUs, 20000 - kSlackUs);
  }
}

}  // namespace remotetest
