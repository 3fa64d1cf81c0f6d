// The host's objects as the tests hand them to the plug-in: objects that
// count their references, and a key event sink that records what it gets.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "remoteInterfaces.h"
#include "control_table.h"

namespace testsupport {

// An IUnknown-based host object owned by the test: Release never frees it.
// Counts its references (1 for the test's own) and the QueryInterface calls
// it gets.
template <typename Interface>
class Counted : public Interface {
 public:
  HRESULT __stdcall QueryInterface(REFIID, void** object) override {
    ++queries_;
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG __stdcall AddRef() override { return ++count_; }
  ULONG __stdcall Release() override { return --count_; }
  long count() const { return count_; }
  int queries() const { return queries_; }

 private:
  std::atomic<long> count_{1};
  std::atomic<int> queries_{0};
};

// One OnKey as the sink got it; a null name or label is kept as "(null)".
struct KeyEvent {
  std::string name;
  std::string label;
  DWORD threadId;    // the thread that called OnKey
  long long timeUs;  // the simulated card's clock then, 0 without a card
};

// Records every OnKey, then runs `onKey` (set before Start) on the
// plug-in's worker thread. With a card, each key carries the card's time.
class RecordingSink : public Counted<IKeyEventSink> {
 public:
  explicit RecordingSink(const SimControl* card = nullptr) : card_(card) {}
  HRESULT __stdcall OnKey(const char* name, const char* label) override;
  std::vector<KeyEvent> events() const;
  size_t size() const;
  // Waits until at least `count` keys have come.
  bool WaitForKeys(size_t count, DWORD timeoutMs = 3000) const;

  std::function<void()> onKey;

 private:
  const SimControl* card_;
  mutable std::mutex mutex_;
  std::vector<KeyEvent> events_;
};

}  // namespace testsupport
