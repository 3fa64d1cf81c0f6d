// The bus back end: the library through which every bus transaction of the
// plug-in reaches the card, bound by name at object creation. "TandorUtl"
// on Win32s and Windows 95/98/Millennium, "wdmI2cDll.dll" on NT 5.
// Process-wide: every object creation binds it again, each polling run
// releases the library once when it ends.
#pragma once

#include <windows.h>

// Plain __cdecl functions, 32-bit arguments.
typedef int(__cdecl* ReadByteFn)(int address, int* value);
typedef int(__cdecl* WriteThreeBytesFn)(int address, int byte1, int byte2);
typedef void(__cdecl* SetEntryFlagFn)(int value);
typedef int(__cdecl* GetEntryFlagFn)(void);

struct BusBackend {
  HMODULE library;
  ReadByteFn readByte;           // 0 success; TandorUtl fills the low byte
  WriteThreeBytesFn writeThree;  // result never looked at
  SetEntryFlagFn setEntryFlag;   // empty on "wdmI2cDll.dll"
  GetEntryFlagFn getEntryFlag;   // empty on "wdmI2cDll.dll"; never called
};

// Classifies the platform (DetectPlatform) and binds the back end for it.
// Returns only when the back end is bound: on an unsupported platform or a
// library that cannot be loaded or lacks a function it logs the reason,
// shows a message box and ends the process with status 1.
void BindBusBackend();

const BusBackend& TheBusBackend();
// The PlatformClass found by the last BindBusBackend.
int CurrentPlatformClass();

// Releases the back-end library once (the polling loop's last step). The
// handle and the entries are kept.
void ReleaseBusBackend();
