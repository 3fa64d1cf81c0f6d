// The plug-in object that GetInterfacePtr creates: its banner and the bus
// back end's binding at construction.

#include "tandorRemote.h"

#include "backendBinding.h"
#include "settingsLog.h"

TandorRemote::TandorRemote(const KeyBinding* keyTable, int keyCount)
    : RemoteDeviceBase(keyTable, keyCount) {
  LogMessage("> Initializing Tandor remote module.\n");
  LogMessage(
      "> ------------------------------------------------------------------"
      "\n\n");
  LogMessage("> KeyFirstDelay=%d, KeyRepeatDelay=%d\n", KeyFirstDelay(),
             KeyRepeatDelay());
  BindBusBackend();
}

TandorRemote::~TandorRemote() = default;
