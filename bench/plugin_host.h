// The benchmark's side of the plug-in contract: the settings file, the
// host's two objects (a key sink that stamps every key with the card's
// clock), and plug-in objects created, started and stopped one at a time.
// The plug-in library is loaded as the stand-in host loads it
// (host/plugin_library.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host_objects.h"
#include "plugin_library.h"
#include "remoteInterfaces.h"
#include "control_table.h"

struct PluginSettings {
  int keyFirstDelay = 1000;  // the plug-in's defaults
  int keyRepeatDelay = 100;
  int leaveSoundOnExit = 0;
  int useAcorpCompMode = 0;
  int useLog = 1;
};

// Writes ".\mirabo.ini" in the current folder with all five keys.
void WriteSettings(const PluginSettings& settings);
// "KeyFirstDelay 1000 ms, KeyRepeatDelay 100 ms"
std::string DelaysText(const PluginSettings& settings);

struct KeyEvent {
  long long timeUs;  // card time when OnKey was called
  std::string name;
};

// The host's key event sink. Reference-counted as the stand-in host's
// objects are (host/host_objects.h): made with new, gone at the last
// Release.
class KeyRecorder : public RefCounted<IKeyEventSink> {
 public:
  KeyRecorder(ReferenceTally& tally, const SimControl* card);
  ~KeyRecorder() override;
  KeyRecorder(const KeyRecorder&) = delete;
  KeyRecorder& operator=(const KeyRecorder&) = delete;

  HRESULT __stdcall OnKey(const char* name, const char* label) override;

  // With `on`, the card's key is let go as soon as it has been delivered:
  // a press that lasts one reading.
  void ReleaseOnKey(bool on) { releaseOnKey_ = on; }
  // Waits until `count` keys have arrived since the last Clear; false when
  // `timeoutMs` passes first.
  bool WaitForKeys(size_t count, DWORD timeoutMs);
  std::vector<KeyEvent> Events();
  void Clear();

 private:
  const SimControl* card_;
  CRITICAL_SECTION lock_;
  HANDLE arrived_;
  std::vector<KeyEvent> events_;
  volatile bool releaseOnKey_ = false;
};

// The host's application object; the plug-in only holds a reference.
class BenchHost : public RefCounted<IRemoteHost> {
 public:
  explicit BenchHost(ReferenceTally& tally) : RefCounted(tally) {}
};

// One plug-in object, created and started for the life of this object
// (the plug-in polls once per object: its back end goes when it stops).
class StartedPlugin {
 public:
  StartedPlugin(const PluginLibrary& library, KeyRecorder& sink,
                BenchHost& host);
  ~StartedPlugin();
  StartedPlugin(const StartedPlugin&) = delete;
  StartedPlugin& operator=(const StartedPlugin&) = delete;

  bool started() const { return started_; }
  void Stop();

 private:
  IRemoteDevice* device_;
  bool started_ = false;
  bool stopped_ = false;
};
