// DetectPlatform and BindBusBackend: the back end's binding (busBackend.h)
// with the plug-in's log lines and fatal paths.

#include "backendBinding.h"

#include <windows.h>

#include "busBackend.h"
#include "settingsLog.h"

namespace {

// What the log and the message box tell of a back-end library.
struct BackendTexts {
  const char* loadingLine;
  const char* loadErrorLine;
  const char* loadErrorBox;
  const char* importErrorLine;
  const char* importErrorBox;
};

const BackendTexts kTandorUtlTexts = {
    "> Loading tandorutl.dll ...",
    "\n> Error during loading ... Can't load TandorUtl.DLL",
    "Error during loading ...\n Can't load TandorUtl.DLL",
    "> Error during inmort ... Can't import from TandorUtl.DLL",
    "Error during inmort ...\nCan't import from TandorUtl.DLL"};

const BackendTexts kWdmI2cTexts = {
    "> Loading wdmI2cDll.dll ...",
    "\n> Error during loading ... Can't load wdmI2cDll.dll",
    "Error during loading ...\n Can't load wdmI2cDll.dll",
    "> Error during inmort ... Can't import from wdmI2cDll.dll",
    "Error during inmort ...\nCan't import from wdmI2cDll.dll"};

// Set-up failures end the host process: the log line first, then the box.
// The plug-in has no C runtime whose orderly exit could run, so the process
// ends through the system, with the same status.
[[noreturn]] void FailFatally(const char* logLine, const char* boxText) {
  LogMessage("%s", logLine);
  MessageBoxA(GetDesktopWindow(), boxText, "Error", MB_ICONERROR);
  ExitProcess(1);
}

void BindLibrary(const BackendLibrary& library, const BackendTexts& texts) {
  LogMessage("%s", texts.loadingLine);
  if (!LoadBackendLibrary(library))
    FailFatally(texts.loadErrorLine, texts.loadErrorBox);
  LogMessage("   Ok!\n> Import finctions ...");
  const char* missing = nullptr;
  if (!ImportBackendFunctions(library, &missing))
    FailFatally(texts.importErrorLine, texts.importErrorBox);
  LogMessage("   Ok!\n");
}

}  // namespace

PlatformClass DetectPlatform() {
  Platform platform;
  if (!QueryPlatform(&platform)) return kPlatformUnsupported;
  LogMessage("> Windows Version - %s version %d.%d %s (Build %d)\n",
             platform.name, static_cast<int>(platform.major),
             static_cast<int>(platform.minor), platform.servicePack,
             static_cast<int>(platform.build));
  return platform.platformClass;
}

void BindBusBackend() {
  PlatformClass platformClass = DetectPlatform();
  SetCurrentPlatformClass(platformClass);
  const BackendLibrary* library = BackendLibraryFor(platformClass);
  if (!library)
    FailFatally("\n> This system don't support.", "This system don't support.");
  BindLibrary(*library,
              library == &kTandorUtlLibrary ? kTandorUtlTexts : kWdmI2cTexts);
}
