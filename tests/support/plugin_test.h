// The plug-in run in the test's own process, as a host runs it: a new
// current folder for the settings file and the log, the simulated card
// loaded and reset for the whole test, the plug-in library loaded from the
// bin folder, and the host's two objects.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace testsupport {

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
Settings MinuteLongDelays();

// The lines of a log written in text mode (CR LF line ends).
std::vector<std::string> SplitLogLines(const std::string& text);

class PluginTest : public ::testing::Test {
 protected:
  explicit PluginTest(const char* pluginFile = "tandor.dll");
  void SetUp() override;

  // A new plug-in object from GetInterfacePtr (fails the test on null).
  IRemoteDevice* Create();
  IRemoteDevice* CreateOrNull();
  // A new object started with `sink` (may be null) and `host`; null, and
  // the test failed, if that did not work.
  IRemoteDevice* StartWith(IKeyEventSink* sink, IRemoteHost* host);
  // Writes `settings`, creates an object and starts it with `host_` and
  // `sink_` (or no sink).
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
  // The log as it is on disk (CR LF line ends: it is written in text mode).
  std::string LogText() const;
  // The log with line feeds for its line ends.
  std::string LogWithLineFeeds() const;
  std::vector<std::string> LogLines() const;
  bool LogHas(const std::string& line) const;
  // Waits until the log holds `line`.
  bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 3000) const;

  // The simulated card's records.
  std::vector<SimKeyRead> KeyReads() const;
  std::vector<SimSoundWrite> SoundWrites() const;
  std::vector<SimBusEvent> BusEvents() const;
  // Waits until the card has recorded `count` readings of the receiver.
  bool WaitForKeyReads(size_t count, DWORD timeoutMs = 3000) const;
  bool WaitForSoundWrites(size_t count, DWORD timeoutMs = 3000) const;
  // Waits until the card has begun `count` transactions.
  bool WaitForTransactions(int count, DWORD timeoutMs = 5000) const;
  // Readings of the receiver (read transactions) recorded by the card.
  int ReadTransactions() const;

  harness::TempDir dir_;

 private:
  std::string pluginFile_;
  harness::CurrentDir currentDir_;

 protected:
  // The host objects that StartNew gives the object; the sink here has no
  // card, so its keys carry no time. They outlive the plug-in library.
  HostApplication host_;
  harness::KeyRecorder sink_;

 private:
  // Held for the whole test, so that the card and its records outlive the
  // plug-in's own use of the driver.
  harness::SimDriver driver_;

 protected:
  const SimControl* card_ = nullptr;
  // The test may unload it early.
  harness::PluginLibrary plugin_;
};

}  // namespace testsupport
