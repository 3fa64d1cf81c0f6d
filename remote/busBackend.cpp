// The process-wide bus back end and its binding by name.

#include "busBackend.h"

namespace {

BusBackend backend = {};
PlatformClass platformClass = kPlatformUnsupported;

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  if (!name) return nullptr;
  return Function(GetProcAddress(library, name));
}

// The first function that `library` must have and the binding did not
// find, or null.
const char* FirstMissing(const BackendLibrary& library) {
  if (!backend.readByte) return library.readByte;
  if (!backend.writeThree) return library.writeThree;
  if (library.getEntryFlag && !backend.getEntryFlag)
    return library.getEntryFlag;
  if (library.setEntryFlag && !backend.setEntryFlag)
    return library.setEntryFlag;
  return nullptr;
}

}  // namespace

const BackendLibrary kTandorUtlLibrary = {"tandorutl.dll", "DlkI2CSWReadByte",
                                          "DlkI2CSWWrite3", "DlkGetEntryFlag",
                                          "DlkSetEntryFlag"};

const BackendLibrary kWdmI2cLibrary = {"wdmI2cDll.dll", "readByte",
                                       "write3byte", nullptr, nullptr};

const BackendLibrary* BackendLibraryFor(PlatformClass platformClass) {
  switch (platformClass) {
    case kPlatformWin32s:
    case kPlatformWindows9x:
      return &kTandorUtlLibrary;
    case kPlatformNt5:
      return &kWdmI2cLibrary;
    default:
      return nullptr;
  }
}

bool LoadBackendLibrary(const BackendLibrary& library) {
  backend.library = LoadLibraryA(library.fileName);
  return backend.library != nullptr;
}

bool ImportBackendFunctions(const BackendLibrary& library,
                            const char** missing) {
  backend.readByte = Lookup<ReadByteFn>(backend.library, library.readByte);
  backend.writeThree =
      Lookup<WriteThreeBytesFn>(backend.library, library.writeThree);
  backend.getEntryFlag =
      Lookup<GetEntryFlagFn>(backend.library, library.getEntryFlag);
  backend.setEntryFlag =
      Lookup<SetEntryFlagFn>(backend.library, library.setEntryFlag);
  *missing = FirstMissing(library);
  if (!*missing) return true;
  FreeLibrary(backend.library);
  return false;
}

const BusBackend& TheBusBackend() {
  return backend;
}

void SetCurrentPlatformClass(PlatformClass value) {
  platformClass = value;
}

PlatformClass CurrentPlatformClass() {
  return platformClass;
}

void ReleaseBusBackend() {
  if (backend.library) FreeLibrary(backend.library);
}
