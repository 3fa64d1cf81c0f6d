// The two objects that the host hands to the plug-in's Start: its key event
// sink and its application object. Both are reference-counted the COM way
// and delete themselves when the last reference goes; the host keeps one
// reference of its own for the whole run. Each object keeps its count in a
// tally that the host owns, so that the host can still read it (and see
// whether the object is gone) after a plug-in that released too often.
#pragma once

#include <windows.h>

#include "console.h"
#include "remoteInterfaces.h"

struct ReferenceTally {
  volatile LONG references = 1;  // the creator's reference
  volatile LONG destroyed = 0;
};

// AddRef, Release and QueryInterface (IUnknown only: neither interface has
// an identifier of its own) over the tally's count.
template <class Interface>
class RefCounted : public Interface {
 public:
  HRESULT __stdcall QueryInterface(REFIID iid, void** object) override {
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
    if (left == 0) {
      tally_.destroyed = 1;
      delete this;
    }
    return static_cast<ULONG>(left);
  }

 protected:
  explicit RefCounted(ReferenceTally& tally) : tally_(tally) {}
  virtual ~RefCounted() = default;

 private:
  ReferenceTally& tally_;
};

// Prints every key event with its session time as it arrives (on the
// plug-in's worker thread) and counts them.
class KeyPrinter : public RefCounted<IKeyEventSink> {
 public:
  KeyPrinter(ReferenceTally& tally, const SessionClock& clock,
             volatile LONG* keyCount)
      : RefCounted(tally), clock_(clock), keyCount_(keyCount) {}
  HRESULT __stdcall OnKey(const char* name, const char* label) override;

 private:
  const SessionClock& clock_;
  volatile LONG* keyCount_;
};

// The application object: the plug-in only holds a reference to it.
class MiraboApplication : public RefCounted<IRemoteHost> {
 public:
  explicit MiraboApplication(ReferenceTally& tally) : RefCounted(tally) {}
};

// The host's two objects for one run, with their tallies. The host's own
// references are given back by ReleaseOwn, not by the destructor: the
// tallies must outlive the objects.
struct HostObjects {
  explicit HostObjects(const SessionClock& clock)
      : sink(new KeyPrinter(sinkTally, clock, &keyCount)),
        application(new MiraboApplication(applicationTally)) {}
  void ReleaseOwn();

  ReferenceTally sinkTally;
  ReferenceTally applicationTally;
  volatile LONG keyCount = 0;
  KeyPrinter* sink;
  MiraboApplication* application;
};
