// The plug-in object's common part: reference counting, the interface
// identity, the worker thread's start and stop, and key dispatch.

#include "remoteDevice.h"

// This library's own module, from the linker.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const SIZE_T kWorkerStackSize = 0x8000;
const DWORD kStopWaitMs = 5000;

// Who owns the object at the end of the worker's run: the host (Running,
// then Done when Run has returned), or the worker (HandedOver: the last
// Release came while the worker could not be stopped, so the worker frees
// the object when Run returns).
enum WorkerState : LONG {
  kWorkerRunning,
  kWorkerDone,
  kObjectHandedOver,
};

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

}  // namespace

RemoteDeviceBase::RemoteDeviceBase(const KeyBinding* keyTable, int keyCount)
    : refCount_(1),
      host_(nullptr),
      sink_(nullptr),
      keyTable_(keyTable),
      keyCount_(keyCount),
      workerState_(kWorkerDone) {}

RemoteDeviceBase::~RemoteDeviceBase() {
  Stop();
}

HRESULT __stdcall RemoteDeviceBase::QueryInterface(REFIID iid, void** object) {
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
// FinishStop), finds it at 0: AddRef and Release change nothing and return
// 0, so that the object is neither revived nor freed twice.
ULONG __stdcall RemoteDeviceBase::AddRef() {
  ULONG found = StepUnlessZero(&refCount_, 1);
  return found ? found + 1 : 0;
}

ULONG __stdcall RemoteDeviceBase::Release() {
  ULONG found = StepUnlessZero(&refCount_, static_cast<ULONG>(-1));
  if (found == 1) Destroy();
  return found ? found - 1 : 0;
}

HRESULT __stdcall RemoteDeviceBase::Start(IKeyEventSink* sink,
                                          IRemoteHost* host) {
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
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT __stdcall RemoteDeviceBase::Stop() {
  if (!host_) return S_OK;
  SetEvent(stopEvent_);
  // From inside OnKey: the worker ends once OnKey has returned; a later
  // Stop on another thread, or the destructor, completes the stop.
  if (OnWorkerThread()) return S_OK;
  // A worker that has not ended keeps using the object, its handles and
  // the host objects: all of them stay until a later Stop.
  if (threadHandle_ &&
      WaitForSingleObject(threadHandle_, kStopWaitMs) != WAIT_OBJECT_0)
    return S_OK;
  FinishStop();
  return S_OK;
}

void __stdcall RemoteDeviceBase::Reserved() {}

void RemoteDeviceBase::DispatchKey(int code) {
  if (!sink_ || keyCount_ <= 0) return;
  const KeyBinding* key = FindKeyBinding(keyTable_, keyCount_, code);
  if (key) sink_->OnKey(key->name, key->label);
}

bool RemoteDeviceBase::StopRequested(DWORD milliseconds) const {
  return WaitForSingleObject(stopEvent_, milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI RemoteDeviceBase::WorkerMain(LPVOID object) {
  auto* device = static_cast<RemoteDeviceBase*>(object);
  // The thread may run before CreateThread has stored its identifier.
  __atomic_store_n(&device->workerThreadId_, GetCurrentThreadId(),
                   __ATOMIC_SEQ_CST);
  HMODULE pinned = device->pinnedModule_;
  device->Run();
  if (!device->MarkWorkerDone()) {
    // Handed over: the count is 0 and FinishStop leaves the object stopped
    // before it calls out, so a Stop or Release coming back from the host
    // objects changes nothing and this thread alone frees the object.
    device->FinishStop();
    delete device;
  }
  if (pinned) FreeLibraryAndExitThread(pinned, 0);
  return 0;
}

bool RemoteDeviceBase::OnWorkerThread() const {
  return __atomic_load_n(&workerThreadId_, __ATOMIC_SEQ_CST) ==
         GetCurrentThreadId();
}

void RemoteDeviceBase::FinishStop() {
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
void RemoteDeviceBase::ReleaseHostObjects() {
  IRemoteHost* host = host_;
  IKeyEventSink* sink = sink_;
  host_ = nullptr;
  sink_ = nullptr;
  if (host) host->Release();
  if (sink) sink->Release();
}

void RemoteDeviceBase::Destroy() {
  Stop();
  // Still started: the worker could not be stopped yet (or this is the
  // worker itself, inside OnKey). It frees the object when its run ends.
  if (host_ && HandOverToWorker()) return;
  // Otherwise the worker no longer uses the object; the destructor's Stop
  // completes whatever is left.
  delete this;
}

bool RemoteDeviceBase::HandOverToWorker() {
  LONG running = kWorkerRunning;
  return __atomic_compare_exchange_n(&workerState_, &running, kObjectHandedOver,
                                     false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
}

// False when the object was handed over to the worker.
bool RemoteDeviceBase::MarkWorkerDone() {
  LONG running = kWorkerRunning;
  return __atomic_compare_exchange_n(&workerState_, &running, kWorkerDone,
                                     false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
}
