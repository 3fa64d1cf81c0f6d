// The bus back end: the library through which every bus transaction of the
// plug-in (and of the check tool) reaches the card, bound by name at run
// time: "tandorutl.dll" on Win32s and Windows 95/98/Millennium,
// "wdmI2cDll.dll" on NT 5. Process-wide: every plug-in object's creation
// binds it again, each polling run releases the library once when it ends.
#pragma once

#include <windows.h>

#include "foreignCall.h"
#include "platformDetection.h"

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
  WriteThreeBytesFn writeThree;  // 0 success
  SetEntryFlagFn setEntryFlag;   // empty on "wdmI2cDll.dll"
  GetEntryFlagFn getEntryFlag;   // empty on "wdmI2cDll.dll"
};

// A back-end library: its file name and the functions bound from it.
struct BackendLibrary {
  const char* fileName;
  const char* readByte;
  const char* writeThree;
  const char* getEntryFlag;  // null: the library has no entry flag
  const char* setEntryFlag;
};

extern const BackendLibrary kTandorUtlLibrary;
extern const BackendLibrary kWdmI2cLibrary;

// The library that serves `platformClass`, or null where none does.
const BackendLibrary* BackendLibraryFor(PlatformClass platformClass);

// Binding in its two steps. LoadBackendLibrary loads the library by its file
// name and keeps the handle; false when it does not load.
// ImportBackendFunctions looks up every function; when one is missing it
// releases the library again and gives its name in `missing`.
bool LoadBackendLibrary(const BackendLibrary& library);
bool ImportBackendFunctions(const BackendLibrary& library,
                            const char** missing);

const BusBackend& TheBusBackend();

// The PlatformClass of the last binding; the key reading asks it.
void SetCurrentPlatformClass(PlatformClass platformClass);
PlatformClass CurrentPlatformClass();

// Releases the back-end library once (the polling loop's last step). The
// handle and the entries are kept, unlike TandorUtl's driver entries: the
// plug-in's library is released only when no object polls any more, and
// every new object binds it again.
void ReleaseBusBackend();
