// The benchmark's side of the plug-in contract, beyond what the harness
// gives (the settings file, the host's two objects, the plug-in library):
// plug-in objects created, started and stopped one at a time.
#pragma once

#include <string>

#include "host_objects.h"
#include "plugin_library.h"
#include "remoteInterfaces.h"
#include "settings_file.h"

// "KeyFirstDelay 1000 ms, KeyRepeatDelay 100 ms"
std::string DelaysText(const harness::PluginSettings& settings);

// One plug-in object, created and started for the life of this object
// (the plug-in polls once per object: its back end goes when it stops).
class StartedPlugin {
 public:
  StartedPlugin(const harness::PluginLibrary& library, IKeyEventSink& sink,
                IRemoteHost& host);
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
