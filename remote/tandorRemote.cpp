// The plug-in object: its banner and the bus back end's binding at
// construction, reference counting and the interface identity, and the
// worker thread's start and stop. The polling itself is pollingLoop.cpp.

#include "tandorRemote.h"

#include "backendBinding.h"
#include "sentMessages.h"
#include "settingsLog.h"

// This library's own module, from the linker.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const SIZE_T kWorkerStackSize = 0x8000;
const DWORD kStopWaitMs = 5000;

// Who completes the stop once the worker's run is over. While the worker
// runs, a Stop on the host's side waits for it and completes the stop
// (kWorkerRunning; kWorkerDone once the run is over). Where that Stop could
// not wait, it hands the stop to the worker (kStopHandedOver), and the last
// Release hands it the object as well (kObjectHandedOver): the worker then
// gives back the host objects itself, and frees the object.
enum WorkerState : LONG {
  kWorkerRunning,
  kWorkerDone,
  kStopHandedOver,
  kObjectHandedOver,
};

// The stopWait_ bits.
const LONG kStopWaiting = 1;
const LONG kDestroyPending = 2;

// A reference to this library, so that it stays loaded while the worker
// thread runs in it even if the host unloads it.
HMODULE PinThisLibrary() {
  char path[MAX_PATH];
  HMODULE self = reinterpret_cast<HMODULE>(&__ImageBase);
  DWORD length = GetModuleFileNameA(self, path, sizeof path);
  if (length == 0 || length >= sizeof path) return nullptr;
  return LoadLibraryA(path);
}

// Adds `step` to `count` unless it is 0; returns the count it found.
ULONG StepUnlessZero(ULONG* count, ULONG step) {
  ULONG found = __atomic_load_n(count, __ATOMIC_SEQ_CST);
  while (found != 0 &&
         !__atomic_compare_exchange_n(count, &found, found + step, false,
                                      __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
  }
  return found;
}

bool Exchange(LONG* state, LONG from, LONG to) {
  return __atomic_compare_exchange_n(state, &from, to, false, __ATOMIC_SEQ_CST,
                                     __ATOMIC_SEQ_CST);
}

}  // namespace

TandorRemote::TandorRemote()
    : keyTable_(kTandorKeys),
      keyCount_(kTandorKeyCount),
      workerState_(kWorkerDone) {
  LogMessage("> Initializing Tandor remote module.\n");
  LogMessage(
      "> ------------------------------------------------------------------"
      "\n\n");
  LogMessage("> KeyFirstDelay=%d, KeyRepeatDelay=%d\n", KeyFirstDelay(),
             KeyRepeatDelay());
  BindBusBackend();
}

TandorRemote::~TandorRemote() {
  Stop();
}

HRESULT __stdcall TandorRemote::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IRemoteDevice)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IRemoteDevice*>(this);
  AddRef();
  return S_OK;
}

// The count is 0 only while the last Release destroys the object. A call
// that comes back into the object then, from a host object's Release (see
// ReleaseHostObjects) or a message answered while Stop waits, finds it at
// 0: AddRef and Release change nothing and return 0, so that the object is
// neither revived nor freed twice.
ULONG __stdcall TandorRemote::AddRef() {
  ULONG found = StepUnlessZero(&refCount_, 1);
  return found ? found + 1 : 0;
}

ULONG __stdcall TandorRemote::Release() {
  ULONG found = StepUnlessZero(&refCount_, static_cast<ULONG>(-1));
  if (found == 1) Destroy();
  return found ? found - 1 : 0;
}

HRESULT __stdcall TandorRemote::Start(IKeyEventSink* sink, IRemoteHost* host) {
  // One run per object: its back end is released when the run ends.
  if (startedOnce_) return E_UNEXPECTED;
  if (!host) return E_UNEXPECTED;
  host_ = host;
  host_->AddRef();
  sink_ = sink;
  if (sink_) sink_->AddRef();
  stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!stopEvent_) {
    ReleaseHostObjects();
    return E_UNEXPECTED;
  }
  startedOnce_ = true;
  pinnedModule_ = PinThisLibrary();
  workerState_ = kWorkerRunning;
  threadHandle_ = CreateThread(nullptr, kWorkerStackSize, &WorkerMain, this, 0,
                               &workerThreadId_);
  if (!threadHandle_) {
    // Stop (or the destructor) still gives back the event and both host
    // objects; there is no thread to wait for.
    workerState_ = kWorkerDone;
    if (pinnedModule_) FreeLibrary(pinnedModule_);
    pinnedModule_ = nullptr;
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT __stdcall TandorRemote::Stop() {
  // Handed over: the worker completes the stop, and may already be closing
  // the handles.
  if (__atomic_load_n(&workerState_, __ATOMIC_SEQ_CST) >= kStopHandedOver)
    return S_OK;
  if (!host_) return S_OK;
  SetEvent(stopEvent_);
  // Back from a message answered while a Stop waits on this thread: that
  // Stop completes the stop. From inside OnKey: the worker ends once OnKey
  // has returned, and a later Stop, or the last Release, completes it.
  if ((__atomic_load_n(&stopWait_, __ATOMIC_SEQ_CST) & kStopWaiting) ||
      OnWorkerThread())
    return S_OK;
  // The worker waits inside OnKey for this thread to answer the message it
  // sent: waiting for the worker could only wait out the limit.
  if (WorkerWaitsForThisThread() && HandStopToWorker(kStopHandedOver))
    return S_OK;
  __atomic_store_n(&stopWait_, kStopWaiting, __ATOMIC_SEQ_CST);
  bool ended =
      !threadHandle_ || WaitAnsweringSentMessages(threadHandle_, kStopWaitMs);
  // A message answered during the wait may have made the last Release:
  // nothing was freed then, and this Stop frees the object once it is done.
  bool destroy =
      __atomic_exchange_n(&stopWait_, 0, __ATOMIC_SEQ_CST) & kDestroyPending;
  // A worker that has not ended keeps using the object, its handles and
  // the host objects: it completes the stop itself, and nobody waits the
  // limit again.
  if (!ended && HandStopToWorker(destroy ? kObjectHandedOver : kStopHandedOver))
    return S_OK;
  // The worker has ended. Without a pending destroy the count is not 0, so
  // a host object's Release that comes back may free the object: nothing of
  // it is touched after FinishStop.
  FinishStop();
  if (destroy) delete this;
  return S_OK;
}

void __stdcall TandorRemote::Reserved() {}

void TandorRemote::DispatchKey(int code) {
  if (!sink_ || keyCount_ <= 0) return;
  const KeyBinding* key = FindKeyBinding(keyTable_, keyCount_, code);
  if (!key) return;
  __atomic_store_n(&inOnKey_, 1, __ATOMIC_SEQ_CST);
  sink_->OnKey(key->name, key->label);
  __atomic_store_n(&inOnKey_, 0, __ATOMIC_SEQ_CST);
}

bool TandorRemote::StopRequested(DWORD milliseconds) const {
  return WaitForSingleObject(stopEvent_, milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI TandorRemote::WorkerMain(LPVOID object) {
  auto* device = static_cast<TandorRemote*>(object);
  // The thread may run before CreateThread has stored its identifier.
  __atomic_store_n(&device->workerThreadId_, GetCurrentThreadId(),
                   __ATOMIC_SEQ_CST);
  // The library's pin is the thread's own from here on: it is let go only
  // as the thread ends.
  HMODULE pinned = device->pinnedModule_;
  device->pinnedModule_ = nullptr;
  device->Run();
  if (!Exchange(&device->workerState_, kWorkerRunning, kWorkerDone)) {
    // Handed over. FinishStop leaves the object stopped before it calls
    // out, so a Stop coming back from the host objects changes nothing and
    // a last Release coming back hands the object over here as well.
    device->FinishStop();
    if (!Exchange(&device->workerState_, kStopHandedOver, kWorkerDone))
      delete device;
  }
  // Nothing of the object may be touched from here on: with the stop
  // complete the host frees it at its last Release.
  if (pinned) FreeLibraryAndExitThread(pinned, 0);
  return 0;
}

bool TandorRemote::OnWorkerThread() const {
  return __atomic_load_n(&workerThreadId_, __ATOMIC_SEQ_CST) ==
         GetCurrentThreadId();
}

// Hosts hand a key to their window with SendMessage, so that it is handled
// on the window's thread; that thread may then stop the remote (its Power
// key closes the application). InSendMessage cannot tell who sent the
// message, but while the worker is inside OnKey it is the likely sender,
// and a Stop that does not wait is right in either case.
bool TandorRemote::WorkerWaitsForThisThread() const {
  return __atomic_load_n(&inOnKey_, __ATOMIC_SEQ_CST) && AnsweringSentMessage();
}

// Returns false only when the worker has ended meanwhile and left the stop
// to the caller; where the object was handed over already, the caller must
// not touch it any more.
bool TandorRemote::HandStopToWorker(LONG handedOver) {
  LONG found = kWorkerRunning;
  if (__atomic_compare_exchange_n(&workerState_, &found, handedOver, false,
                                  __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST))
    return true;
  return found != kWorkerDone;
}

void TandorRemote::FinishStop() {
  HANDLE thread = threadHandle_;
  HANDLE stopEvent = stopEvent_;
  threadHandle_ = nullptr;
  stopEvent_ = nullptr;
  if (thread) CloseHandle(thread);
  if (stopEvent) CloseHandle(stopEvent);
  ReleaseHostObjects();
}

// A host object's Release is the host's code and may come back into this
// object: a host whose application object, on its last reference, stops or
// releases the remote it owns. So the object is stopped before the first
// call out (a Stop coming back finds nothing to do, a last Release frees
// the object), and nothing of it is touched after that call.
void TandorRemote::ReleaseHostObjects() {
  IRemoteHost* host = host_;
  IKeyEventSink* sink = sink_;
  host_ = nullptr;
  sink_ = nullptr;
  if (host) host->Release();
  if (sink) sink->Release();
}

// The last Release. The stop comes first; where it is left to someone else
// (a Stop waiting on this thread, or the worker), so is the freeing.
void TandorRemote::Destroy() {
  Stop();
  LONG found = __atomic_load_n(&stopWait_, __ATOMIC_SEQ_CST);
  while (found & kStopWaiting) {
    if (Exchange(&stopWait_, found, found | kDestroyPending)) return;
    found = __atomic_load_n(&stopWait_, __ATOMIC_SEQ_CST);
  }
  // Still started: the worker could not be stopped yet (or this is the
  // worker itself, inside OnKey). It frees the object when its run ends.
  if (Exchange(&workerState_, kWorkerRunning, kObjectHandedOver) ||
      Exchange(&workerState_, kStopHandedOver, kObjectHandedOver))
    return;
  delete this;
}
