#include "plugin_host.h"

#include <stdio.h>

std::string DelaysText(const harness::PluginSettings& settings) {
  char text[96];
  snprintf(text, sizeof text, "KeyFirstDelay %d ms, KeyRepeatDelay %d ms",
           settings.keyFirstDelay, settings.keyRepeatDelay);
  return text;
}

StartedPlugin::StartedPlugin(const harness::PluginLibrary& library,
                             IKeyEventSink& sink, IRemoteHost& host)
    : device_(library.CreateObject()) {
  started_ = device_ && device_->Start(&sink, &host) == S_OK;
}

StartedPlugin::~StartedPlugin() {
  if (!device_) return;
  if (started_ && !stopped_) device_->Stop();
  device_->Release();
}

void StartedPlugin::Stop() {
  if (device_) device_->Stop();
  stopped_ = true;
}
