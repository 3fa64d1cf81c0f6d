// DetectPlatform and BindBusBackend: the back end's binding (busBackend.h)
// with the plug-in's log lines and fatal paths.

#include "backendBinding.h"

#include <windows.h>

#include "busBackend.h"
#include "settingsLog.h"

namespace {

// Set-up failures end the host process: the log line first, then the box.
// The plug-in has no C runtime whose orderly exit could run, so the process
// ends through the system, with the same status.
[[noreturn]] void FailFatally(const char* logLine, const char* boxText) {
  LogMessage("%s", logLine);
  MessageBoxA(GetDesktopWindow(), boxText, "Error", MB_ICONERROR);
  ExitProcess(1);
}

// The texts are the plug-in's own, misspellings included ("finctions").
void BindLibrary(const BackendDescription& backend) {
  const BindingTexts& texts = backend.binding;
  LogMessage("%s", texts.loadingLine);
  if (!LoadBackendLibrary(backend))
    FailFatally(texts.loadErrorLine, texts.loadErrorBox);
  LogMessage("   Ok!\n> Import finctions ...");
  const char* missing = nullptr;
  if (!ImportBackendFunctions(&missing))
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
  const BackendDescription* backend = BackendFor(DetectPlatform());
  // The plug-in's own words, ungrammatical as users have always seen them.
  if (!backend)
    FailFatally("\n> This system don't support.", "This system don't support.");
  BindLibrary(*backend);
}
