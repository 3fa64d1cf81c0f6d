// The plug-in's one export. The .def file exports it as
// "_GetInterfacePtr@0" at ordinal 1.
#include <new>

#include "tandorRemote.h"

// A new plug-in object, carrying one reference for the caller; null when
// the memory for it cannot be had.
extern "C" IRemoteDevice* __stdcall GetInterfacePtr(void) {
  return new (std::nothrow) TandorRemote();
}

// Loading and unloading the plug-in runs nothing of its own: everything is
// set up when GetInterfacePtr builds an object.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
