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

namespace {

// IUnknown's QueryInterface for an object that is only ever IUnknown to
// the plug-in.
HRESULT AnswerUnknown(IUnknown* self, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (!IsEqualIID(iid, IID_IUnknown)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = self;
  self->AddRef();
  return S_OK;
}

}  // namespace

KeyRecorder::KeyRecorder(const SimControl* card)
    : card_(card), arrived_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  InitializeCriticalSection(&lock_);
  events_.reserve(4096);
}

KeyRecorder::~KeyRecorder() {
  CloseHandle(arrived_);
  DeleteCriticalSection(&lock_);
}

HRESULT __stdcall KeyRecorder::QueryInterface(REFIID iid, void** object) {
  return AnswerUnknown(this, iid, object);
}

ULONG __stdcall KeyRecorder::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG __stdcall KeyRecorder::Release() {
  return static_cast<ULONG>(InterlockedDecrement(&references_));
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

HRESULT __stdcall BenchHost::QueryInterface(REFIID iid, void** object) {
  return AnswerUnknown(this, iid, object);
}

ULONG __stdcall BenchHost::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG __stdcall BenchHost::Release() {
  return static_cast<ULONG>(InterlockedDecrement(&references_));
}

PluginLibrary::~PluginLibrary() {
  if (module_) FreeLibrary(module_);
}

bool PluginLibrary::Load(std::string* why) {
  module_ = LoadLibraryA((testsupport::ExeDir() + "tandor.dll").c_str());
  if (!module_) {
    *why = "tandor.dll cannot be loaded";
    return false;
  }
  create_ = reinterpret_cast<GetInterfacePtrFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, REMOTE_EXPORT_NAME)));
  if (!create_) {
    *why = "tandor.dll lacks " REMOTE_EXPORT_NAME;
    return false;
  }
  return true;
}

StartedPlugin::StartedPlugin(const PluginLibrary& library, KeyRecorder& sink,
                             BenchHost& host)
    : device_(library.Create()) {
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
