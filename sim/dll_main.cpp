// Load and unload of the simulated "BtVid_32.Dll".
#include <windows.h>

#include "sim_instance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) sim::CreateInstance();
  if (reason == DLL_PROCESS_DETACH) sim::DestroyInstance();
  return TRUE;
}
