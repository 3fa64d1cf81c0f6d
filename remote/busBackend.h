// The bus back end: the library through which every bus transaction of the
// plug-in reaches the card, bound by name at object creation. "TandorUtl"
// on Win32s and Windows 95/98/Millennium, "wdmI2cDll.dll" on NT 5.
// Process-wide: every object creation binds it again, each polling run
// releases the library once when it ends.
#pragma once

#include <windows.h>

#include "foreignCall.h"

// Plain functions with 32-bit arguments, exported under undecorated names.
// "wdmI2cDll.dll" is not ours, so its calling convention is not known; the
// calls work with __cdecl and __stdcall alike, for TandorUtl's too.
typedef ForeignFunction<int(int address, int* value)> ReadByteFn;
typedef ForeignFunction<int(int address, int byte1, int byte2)>
    WriteThreeBytesFn;
typedef ForeignFunction<void(int value)> SetEntryFlagFn;
typedef ForeignFunction<int()> GetEntryFlagFn;

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
