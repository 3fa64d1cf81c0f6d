#include "plugin_host.h"

#include <stdio.h>

#include "testsupport.h"

void WriteSettings(const PluginSettings& settings) {
  char text[256];
  snprintf(text, sizeof text,
           "[MiraboRemote]\r\nKeyFirstDelay=%d\r\nKeyRepeatDelay=%d\r\n"
           "LeaveSoundOnExit=%d\r\nUseAcorpCompMode=%d\r\nUseLog=%d\r\n",
           settings.keyFirstDelay, settings.keyRepeatDelay,
           settings.leaveSoundOnExit, settings.useAcorpCompMode,
           settings.useLog);
  testsupport::WriteText("mirabo.ini", text);
}

std::string DelaysText(const PluginSettings& settings) {
  char text[96];
  snprintf(text, sizeof text, "KeyFirstDelay %d ms, KeyRepeatDelay %d ms",
           settings.keyFirstDelay, settings.keyRepeatDelay);
  return text;
}

KeyRecorder::KeyRecorder(ReferenceTally& tally, const SimControl* card)
    : RefCounted(tally),
      card_(card),
      arrived_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  InitializeCriticalSection(&lock_);
  events_.reserve(4096);
}

KeyRecorder::~KeyRecorder() {
  CloseHandle(arrived_);
  DeleteCriticalSection(&lock_);
}

HRESULT __stdcall KeyRecorder::OnKey(const char* name, const char*) {
  long long now = card_->NowUs();
  if (releaseOnKey_) card_->ReleaseKey();
  EnterCriticalSection(&lock_);
  events_.push_back({now, name ? name : ""});
  LeaveCriticalSection(&lock_);
  SetEvent(arrived_);
  return S_OK;
}

bool KeyRecorder::WaitForKeys(size_t count, DWORD timeoutMs) {
  DWORD began = GetTickCount();
  for (;;) {
    EnterCriticalSection(&lock_);
    size_t have = events_.size();
    LeaveCriticalSection(&lock_);
    if (have >= count) return true;
    DWORD waited = GetTickCount() - began;
    if (waited >= timeoutMs) return false;
    WaitForSingleObject(arrived_, timeoutMs - waited);
  }
}

std::vector<KeyEvent> KeyRecorder::Events() {
  EnterCriticalSection(&lock_);
  std::vector<KeyEvent> events = events_;
  LeaveCriticalSection(&lock_);
  return events;
}

void KeyRecorder::Clear() {
  EnterCriticalSection(&lock_);
  events_.clear();
  LeaveCriticalSection(&lock_);
  ResetEvent(arrived_);
}

StartedPlugin::StartedPlugin(const PluginLibrary& library, KeyRecorder& sink,
                             BenchHost& host)
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
