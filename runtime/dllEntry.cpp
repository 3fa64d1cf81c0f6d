// The entry point of a delivered DLL, where the C runtime's start-up code
// would stand. That code would also set up static thread-local storage,
// which gives the DLL a TLS directory: Windows 95 and Win32s then refuse to
// load it with LoadLibrary. Ours only hands the system's notifications to
// the DLL's own DllMain. Nothing here runs static constructors: the
// delivered code has none (tests/delivery checks that).

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason,
                               LPVOID reserved);

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason,
                                         LPVOID reserved) {
  return DllMain(instance, reason, reserved);
}
