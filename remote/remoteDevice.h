// The plug-in object's common part: reference counting, the interface
// identity, starting and stopping the worker thread, and handing key codes
// to the host's key event sink. The polling itself is the subclass's Run.
#pragma once

#include <windows.h>

#include "keyTable.h"
#include "remoteInterfaces.h"

class RemoteDeviceBase : public IRemoteDevice {
 public:
  // The key table is not owned; it must outlive the object.
  RemoteDeviceBase(const KeyBinding* keyTable, int keyCount);
  RemoteDeviceBase(const RemoteDeviceBase&) = delete;
  RemoteDeviceBase& operator=(const RemoteDeviceBase&) = delete;

  HRESULT __stdcall QueryInterface(REFIID iid, void** object) override;
  ULONG __stdcall AddRef() override;
  ULONG __stdcall Release() override;
  // Holds a reference to both host objects and starts the worker thread.
  // An object starts at most once.
  HRESULT __stdcall Start(IKeyEventSink* sink, IRemoteHost* host) override;
  // Asks the worker thread to end and, once it has, gives back the thread,
  // the stop event and both host objects. On the worker thread itself it
  // only asks.
  HRESULT __stdcall Stop() override;
  void __stdcall Reserved() override;

  virtual ~RemoteDeviceBase();
  // The worker thread's work; returns when the stop event is signalled.
  virtual void Run() = 0;

 protected:
  // Hands a key code to the sink: OnKey with the matching row's name and
  // label. Codes without a row, and a missing sink, are ignored.
  void DispatchKey(int code);
  // Waits at most `milliseconds` for the stop event; true when it is set.
  bool StopRequested(DWORD milliseconds) const;

 private:
  static DWORD WINAPI WorkerMain(LPVOID object);
  bool OnWorkerThread() const;
  // Closes the handles and releases both host objects, leaving the object
  // stopped before the first release.
  void FinishStop();
  void ReleaseHostObjects();
  // Called by the last Release: frees the object, or leaves that to a
  // worker thread that could not be stopped yet.
  void Destroy();
  bool HandOverToWorker();
  bool MarkWorkerDone();

  HANDLE threadHandle_ = nullptr;
  ULONG refCount_;
  HANDLE stopEvent_ = nullptr;
  IRemoteHost* host_;  // non-null while started
  IKeyEventSink* sink_;
  const KeyBinding* keyTable_;
  int keyCount_;
  DWORD workerThreadId_ = 0;
  bool startedOnce_ = false;
  LONG workerState_;                // one of the WorkerState values
  HMODULE pinnedModule_ = nullptr;  // this library, held while the worker runs
};
