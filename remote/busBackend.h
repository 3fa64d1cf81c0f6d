// The bus back end: the library through which every bus transaction of the
// plug-in (and of the check tool) reaches the card, bound by name at run
// time (backendDescription.h tells which, and what each can do).
// Process-wide: every plug-in object's creation binds it again, each
// polling run releases the library once when it ends.
#pragma once

#include <windows.h>

#include "backendDescription.h"
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
  const BackendDescription* description;  // of the library last loaded
  HMODULE library;
  ReadByteFn readByte;           // 0 success; TandorUtl fills the low byte
  WriteThreeBytesFn writeThree;  // 0 success
  SetEntryFlagFn setEntryFlag;   // empty where the library has no flag
  GetEntryFlagFn getEntryFlag;   // empty where the library has no flag
};

// Binding in its two steps. LoadBackendLibrary loads the library by its file
// name and keeps the handle and the description; false when it does not
// load. ImportBackendFunctions looks up every function of the loaded
// library; when one is missing it releases the library again and gives its
// name in `missing`.
bool LoadBackendLibrary(const BackendDescription& backend);
bool ImportBackendFunctions(const char** missing);

const BusBackend& TheBusBackend();

// Releases the back-end library once (the polling loop's last step). The
// handle and the entries are kept, unlike TandorUtl's driver entries: the
// plug-in's library is released only when no object polls any more, and
// every new object binds it again.
void ReleaseBusBackend();
