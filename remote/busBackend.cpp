#include "busBackend.h"

#include "platformDetection.h"
#include "settingsLog.h"

namespace {

BusBackend backend = {};
int platformClass = kPlatformUnsupported;

// What is told when a back-end library fails, and the names bound from it.
struct BackendLibrary {
  const char* fileName;
  const char* loadingLine;
  const char* loadErrorLine;
  const char* loadErrorBox;
  const char* importErrorLine;
  const char* importErrorBox;
  const char* readByte;
  const char* writeThree;
  const char* getEntryFlag;  // null: the library has no entry flag
  const char* setEntryFlag;
};

const BackendLibrary kTandorUtl = {
    "tandorutl.dll",
    "> Loading tandorutl.dll ...",
    "\n> Error during loading ... Can't load TandorUtl.DLL",
    "Error during loading ...\n Can't load TandorUtl.DLL",
    "> Error during inmort ... Can't import from TandorUtl.DLL",
    "Error during inmort ...\nCan't import from TandorUtl.DLL",
    "DlkI2CSWReadByte",
    "DlkI2CSWWrite3",
    "DlkGetEntryFlag",
    "DlkSetEntryFlag"};

const BackendLibrary kWdmI2c = {
    "wdmI2cDll.dll",
    "> Loading wdmI2cDll.dll ...",
    "\n> Error during loading ... Can't load wdmI2cDll.dll",
    "Error during loading ...\n Can't load wdmI2cDll.dll",
    "> Error during inmort ... Can't import from wdmI2cDll.dll",
    "Error during inmort ...\nCan't import from wdmI2cDll.dll",
    "readByte",
    "write3byte",
    nullptr,
    nullptr};

// Set-up failures end the host process: the log line first, then the box.
// The plug-in has no C runtime whose orderly exit could run, so the process
// ends through the system, with the same status.
[[noreturn]] void FailFatally(const char* logLine, const char* boxText) {
  LogMessage("%s", logLine);
  MessageBoxA(GetDesktopWindow(), boxText, "Error", MB_ICONERROR);
  ExitProcess(1);
}

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  if (!name) return nullptr;
  return Function(GetProcAddress(library, name));
}

// True when every function the library must have was found.
bool ImportFunctions(HMODULE library, const BackendLibrary& from) {
  backend.readByte = Lookup<ReadByteFn>(library, from.readByte);
  backend.writeThree = Lookup<WriteThreeBytesFn>(library, from.writeThree);
  backend.getEntryFlag = Lookup<GetEntryFlagFn>(library, from.getEntryFlag);
  backend.setEntryFlag = Lookup<SetEntryFlagFn>(library, from.setEntryFlag);
  bool hasEntryFlag = from.setEntryFlag != nullptr;
  return backend.readByte && backend.writeThree &&
         (!hasEntryFlag || (backend.getEntryFlag && backend.setEntryFlag));
}

void BindLibrary(const BackendLibrary& from) {
  LogMessage("%s", from.loadingLine);
  backend.library = LoadLibraryA(from.fileName);
  if (!backend.library) FailFatally(from.loadErrorLine, from.loadErrorBox);
  LogMessage("   Ok!\n> Import finctions ...");
  if (!ImportFunctions(backend.library, from)) {
    FreeLibrary(backend.library);
    FailFatally(from.importErrorLine, from.importErrorBox);
  }
  LogMessage("   Ok!\n");
}

}  // namespace

void BindBusBackend() {
  platformClass = DetectPlatform();
  switch (platformClass) {
    case kPlatformWin32s:
    case kPlatformWindows9x:
      BindLibrary(kTandorUtl);
      return;
    case kPlatformNt5:
      BindLibrary(kWdmI2c);
      return;
    default:
      FailFatally("\n> This system don't support.",
                  "This system don't support.");
  }
}

const BusBackend& TheBusBackend() {
  return backend;
}

int CurrentPlatformClass() {
  return platformClass;
}

void ReleaseBusBackend() {
  if (backend.library) FreeLibrary(backend.library);
}
