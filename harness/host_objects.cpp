#include "host_objects.h"

namespace harness {

static std::string TextOrNull(const char* text) {
  return text ? text : "(null)";
}

// The recorder is told of each key at once (an event, not polling), and
// room for a long run's keys is made up front, so that recording costs the
// plug-in's thread as little as it can.
KeyRecorder::KeyRecorder(const SimControl* card)
    : card_(card), arrived_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  InitializeCriticalSection(&lock_);
  events_.reserve(4096);
}

KeyRecorder::~KeyRecorder() {
  CloseHandle(arrived_);
  DeleteCriticalSection(&lock_);
}

HRESULT __stdcall KeyRecorder::OnKey(const char* name, const char* label) {
  long long now = card_ ? card_->NowUs() : 0;
  KeyEvent event = {TextOrNull(name), TextOrNull(label), GetCurrentThreadId(),
                    now};
  EnterCriticalSection(&lock_);
  events_.push_back(event);
  LeaveCriticalSection(&lock_);
  SetEvent(arrived_);
  if (onKey) onKey();
  return S_OK;
}

std::vector<KeyEvent> KeyRecorder::events() const {
  EnterCriticalSection(&lock_);
  std::vector<KeyEvent> events = events_;
  LeaveCriticalSection(&lock_);
  return events;
}

size_t KeyRecorder::size() const {
  EnterCriticalSection(&lock_);
  size_t size = events_.size();
  LeaveCriticalSection(&lock_);
  return size;
}

bool KeyRecorder::WaitForKeys(size_t count, DWORD timeoutMs) const {
  DWORD began = GetTickCount();
  for (;;) {
    if (size() >= count) return true;
    DWORD waited = GetTickCount() - began;
    if (waited >= timeoutMs) return false;
    WaitForSingleObject(arrived_, timeoutMs - waited);
  }
}

void KeyRecorder::Clear() {
  EnterCriticalSection(&lock_);
  events_.clear();
  LeaveCriticalSection(&lock_);
  ResetEvent(arrived_);
}

}  // namespace harness
