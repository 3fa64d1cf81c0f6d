// The plug-in run in the test's own process, as a host would run it: the
// host's two objects, a folder for the settings file and the log, the
// simulated card kept loaded for the whole test, and the shared entry flag.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host_objects.h"
#include "remoteInterfaces.h"
#include "control_table.h"
#include "testsupport.h"

namespace campaign {

// The host's objects, shared with the plug-in's own tests; the sink
// is given the card, so that each key carries the card's time.
using HostObject = testsupport::Counted<IRemoteHost>;
using testsupport::KeyEvent;
using testsupport::RecordingSink;

// The entry flag in the shared region "dllmemfilemap", held open by the
// test so that it outlives the back end's unloading.
class EntryFlag {
 public:
  EntryFlag();
  ~EntryFlag();
  EntryFlag(const EntryFlag&) = delete;
  EntryFlag& operator=(const EntryFlag&) = delete;
  bool open() const { return view_ != nullptr; }
  // -1 when the region could not be opened.
  int value() const;

 private:
  HANDLE mapping_;
  const volatile LONG* view_;
};

// The plug-in library (tandor.dll from the bin folder) and how to make its
// objects.
class PluginLibrary {
 public:
  PluginLibrary();
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;
  bool loaded() const { return create_ != nullptr; }
  IRemoteDevice* Create() const { return create_ ? create_() : nullptr; }
  void Unload();

 private:
  HMODULE module_;
  GetInterfacePtrFn create_;
};

// The settings file with both key delays and the log on.
std::string Settings(int keyFirstDelay, int keyRepeatDelay);

// How long `Stop` took, in milliseconds.
double TimedStop(IRemoteDevice* device);

// Every test runs in a new current folder, which holds the settings file
// and the log; the simulated card is loaded and reset for the whole test,
// and the plug-in library is loaded.
class PluginTest : public ::testing::Test {
 protected:
  PluginTest();
  ~PluginTest() override;
  void SetUp() override;

  // A new plug-in object, started with `sink` (may be null) and `host`;
  // null, with the failure recorded, when either step fails.
  IRemoteDevice* StartNew(IKeyEventSink* sink, IRemoteHost* host) const;

  void WriteSettings(const std::string& text) const;
  // The log, its line ends (CR LF in text mode) as line feeds.
  std::string LogText() const;
  std::string Path(const std::string& name) const { return dir_.File(name); }

  // Waits until the card has begun `count` transactions.
  bool WaitForTransactions(int count, DWORD timeoutMs = 5000) const;
  // Readings of the receiver (read transactions) recorded by the card.
  int ReadTransactions() const;

  testsupport::TempDir dir_;
  testsupport::CurrentDir currentDir_;
  HMODULE driver_;
  const SimControl* card_ = nullptr;
  PluginLibrary plugin_;
};

}  // namespace campaign
