#include "host_objects.h"

#include "testsupport.h"

namespace testsupport {

static std::string TextOrNull(const char* text) {
  return text ? text : "(null)";
}

HRESULT __stdcall RecordingSink::OnKey(const char* name, const char* label) {
  KeyEvent event = {TextOrNull(name), TextOrNull(label), GetCurrentThreadId(),
                    card_ ? card_->NowUs() : 0};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
  }
  if (onKey) onKey();
  return S_OK;
}

std::vector<KeyEvent> RecordingSink::events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

size_t RecordingSink::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_.size();
}

bool RecordingSink::WaitForKeys(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return size() >= count; }, timeoutMs);
}

}  // namespace testsupport
