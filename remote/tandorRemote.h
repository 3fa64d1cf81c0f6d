// The plug-in object that GetInterfacePtr creates: it writes the log
// banner and binds the bus back end when built, and polls the remote
// receiver on its worker thread.
#pragma once

#include "remoteDevice.h"

class TandorRemote : public RemoteDeviceBase {
 public:
  // Does not return when the bus back end cannot be bound: the process
  // ends.
  TandorRemote(const KeyBinding* keyTable, int keyCount);
  ~TandorRemote() override;

  // The polling loop.
  void Run() override;
};

// Whether the host's main window ("MiraboMainWindow", title "Mirabo")
// exists in this process.
bool IsHostWindowPresent();
