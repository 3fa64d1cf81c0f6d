// The plug-in object that GetInterfacePtr creates: reference counted, it
// writes the log banner and binds the bus back end when built, and once
// started polls the remote receiver on a worker thread of its own
// (pollingLoop.cpp) and hands the keys to the host's sink.
#pragma once

#include <windows.h>

#include "keyTable.h"
#include "remoteInterfaces.h"

class TandorRemote final : public IRemoteDevice {
 public:
  // Does not return when the bus back end cannot be bound: the process
  // ends.
  TandorRemote();
  TandorRemote(const TandorRemote&) = delete;
  TandorRemote& operator=(const TandorRemote&) = delete;

  HRESULT __stdcall QueryInterface(REFIID iid, void** object) override;
  ULONG __stdcall AddRef() override;
  // The last Release destroys the object, or hands it to a worker that
  // cannot end yet, which frees it when its run is over.
  ULONG __stdcall Release() override;
  // Holds a reference to both host objects and starts the worker thread.
  // An object starts at most once.
  HRESULT __stdcall Start(IKeyEventSink* sink, IRemoteHost* host) override;
  // Asks the worker to end and waits for it, answering the messages sent to
  // this thread meanwhile; once it has ended, gives back the thread, the
  // stop event and both host objects. Where waiting could only wait out
  // the limit (the worker waits for this very thread, or already failed to
  // end in time) it only asks, and the worker completes the stop.
  HRESULT __stdcall Stop() override;
  void __stdcall Reserved() override;

 protected:
  // Only Release (or the worker it hands the object to) frees the object.
  ~TandorRemote();

 private:
  static DWORD WINAPI WorkerMain(LPVOID object);
  // The worker's work, the polling loop; returns when a stop is asked for.
  void Run();
  // Waits at most `milliseconds` for the stop event; true when it is set.
  bool StopRequested(DWORD milliseconds) const;
  // Hands a key code to the sink: OnKey with its row's name and label.
  // Codes without a row, and a missing sink, are ignored.
  void DispatchKey(int code);

  bool OnWorkerThread() const;
  bool WorkerWaitsForThisThread() const;
  // Leaves the rest of the stop (kStopHandedOver), or the object too
  // (kObjectHandedOver), to the worker.
  bool HandStopToWorker(LONG handedOver);
  // Closes the handles and gives back both host objects, leaving the object
  // stopped before the first call out.
  void FinishStop();
  void ReleaseHostObjects();
  void Destroy();

  // Written by Start before the worker exists and cleared by whoever
  // completes the stop once the worker no longer uses them.
  HANDLE threadHandle_ = nullptr;
  ULONG refCount_ = 1;
  HANDLE stopEvent_ = nullptr;
  IRemoteHost* host_ = nullptr;  // non-null while started
  IKeyEventSink* sink_ = nullptr;
  const KeyBinding* keyTable_;
  int keyCount_;

  DWORD workerThreadId_ = 0;
  bool startedOnce_ = false;
  HMODULE pinnedModule_ = nullptr;  // this library, held while the worker runs
  LONG workerState_;                // who completes the stop: a WorkerState
  LONG inOnKey_ = 0;                // 1 while the worker is inside OnKey
  // Set while a Stop waits for the worker. Calls that come back into the
  // object meanwhile, from a message answered during the wait, leave the
  // stop to that Stop, and so does the last Release with the freeing.
  LONG stopWait_ = 0;
};
