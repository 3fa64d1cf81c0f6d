// The process-wide bus back end and its binding by name.

#include "busBackend.h"

namespace {

BusBackend backend = {};

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  if (!name) return nullptr;
  return Function(GetProcAddress(library, name));
}

// The first function that the library must have and the binding did not
// find, or null.
const char* FirstMissing(const BackendDescription& wanted) {
  if (!backend.readByte) return wanted.readByte;
  if (!backend.writeThree) return wanted.writeThree;
  if (wanted.getEntryFlag && !backend.getEntryFlag) return wanted.getEntryFlag;
  if (wanted.setEntryFlag && !backend.setEntryFlag) return wanted.setEntryFlag;
  return nullptr;
}

}  // namespace

bool LoadBackendLibrary(const BackendDescription& description) {
  backend.description = &description;
  backend.library = LoadLibraryA(description.fileName);
  return backend.library != nullptr;
}

bool ImportBackendFunctions(const char** missing) {
  const BackendDescription& wanted = *backend.description;
  backend.readByte = Lookup<ReadByteFn>(backend.library, wanted.readByte);
  backend.writeThree =
      Lookup<WriteThreeBytesFn>(backend.library, wanted.writeThree);
  backend.getEntryFlag =
      Lookup<GetEntryFlagFn>(backend.library, wanted.getEntryFlag);
  backend.setEntryFlag =
      Lookup<SetEntryFlagFn>(backend.library, wanted.setEntryFlag);
  *missing = FirstMissing(wanted);
  if (!*missing) return true;
  FreeLibrary(backend.library);
  backend.library = nullptr;
  return false;
}

const BusBackend& TheBusBackend() {
  return backend;
}

void ReleaseBusBackend() {
  if (backend.library) FreeLibrary(backend.library);
}
