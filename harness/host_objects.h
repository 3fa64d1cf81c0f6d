// The host's objects as a host hands them to the plug-in's Start: objects
// reference-counted the COM way, and a key event sink that records what it
// gets.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "control_table.h"
#include "remoteInterfaces.h"

namespace harness {

// An object's references and the QueryInterface calls it got, kept apart
// from the object so that they can still be read (and whether the object
// is gone) after a plug-in that released too often.
struct ReferenceTally {
  volatile LONG references = 1;  // the creator's reference
  volatile LONG queries = 0;
  volatile LONG destroyed = 0;
};

// AddRef, Release and QueryInterface (IUnknown only: neither interface has
// an identifier of its own) over a tally. Made with a tally of the
// creator's, the object is made with new and deletes itself at the last
// Release, as a host's objects do; made without, it keeps its own tally
// and belongs to its creator (a test's member or local): Release never
// frees it.
template <class Interface>
class HostObject : public Interface {
 public:
  HostObject() : tally_(ownTally_), deletesItself_(false) {}
  explicit HostObject(ReferenceTally& tally)
      : tally_(tally), deletesItself_(true) {}
  virtual ~HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;

  HRESULT __stdcall QueryInterface(REFIID iid, void** object) override {
    InterlockedIncrement(&tally_.queries);
    if (!object) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  ULONG __stdcall AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&tally_.references));
  }
  ULONG __stdcall Release() override {
    LONG left = InterlockedDecrement(&tally_.references);
    if (left == 0 && deletesItself_) {
      tally_.destroyed = 1;
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  long count() const { return tally_.references; }
  int queries() const { return tally_.queries; }

 private:
  ReferenceTally ownTally_;
  ReferenceTally& tally_;
  bool deletesItself_;
};

// One OnKey as the recorder got it; a null name or label is kept as
// "(null)".
struct KeyEvent {
  std::string name;
  std::string label;
  DWORD threadId;    // the thread that called OnKey
  long long timeUs;  // the simulated card's clock then, 0 without a card
};

// Records every OnKey, then runs `onKey` (set before Start) on the
// plug-in's worker thread. With a card, each key carries the card's time,
// taken first thing.
class KeyRecorder : public HostObject<IKeyEventSink> {
 public:
  explicit KeyRecorder(const SimControl* card = nullptr);
  ~KeyRecorder() override;

  HRESULT __stdcall OnKey(const char* name, const char* label) override;
  std::vector<KeyEvent> events() const;
  size_t size() const;
  // Waits until at least `count` keys have come since the last Clear; false
  // when `timeoutMs` passes first.
  bool WaitForKeys(size_t count, DWORD timeoutMs = 3000) const;
  void Clear();

  std::function<void()> onKey;

 private:
  const SimControl* card_;
  HANDLE arrived_;
  mutable CRITICAL_SECTION lock_;
  std::vector<KeyEvent> events_;
};

}  // namespace harness
