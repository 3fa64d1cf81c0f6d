// The load and unload handler. A load succeeds only when the shared region
// is mapped, the driver is bound and the driver reports its I2C access as
// initialised; otherwise the user is told why and the load is refused.
//
// A refused load gives back what it took before it returns. The system may
// still call the detach step after a refused attach (Wine does), so detach
// is safe on any state and releases nothing twice.
//
// When the process is ending, the detach releases nothing: other threads are
// gone or were ended abruptly, what they used may be half changed, and an
// entry point must not call FreeLibrary. The driver, the view and the mapping
// handle go with the process. Only an unload by FreeLibrary gives them back.

#include <windows.h>

#include "dynLink.h"
#include "sharedRegion.h"
#include "tandorUtl.h"

namespace {

void ShowLoadError(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

void ReleaseEverything() {
  FreeDynamicLinkage();
  ReleaseSharedRegion();
}

// Maps the shared region, zero-filling it when this process is the first.
bool AttachSharedRegion() {
  RegionOpening opening = OpenSharedRegion();
  if (opening == kRegionFailed) {
    ShowLoadError("CreateFileMapping Err!", "Utl");
    return false;
  }
  if (!MapSharedRegion()) {
    ShowLoadError("MapViewOfFile Err!", "Utl");
    return false;
  }
  if (opening == kRegionCreated) ZeroSharedRegion();
  return true;
}

bool AttachDriver() {
  if (!InitDynamicLinkage()) {
    ShowLoadError("Init DLL error!", "TandorUtl");
    return false;
  }
  if (!DlkI2CIsInitOK()) {
    ShowLoadError("Init I2C error!", "TandorUtl");
    return false;
  }
  return true;
}

BOOL Attach() {
  if (AttachSharedRegion() && AttachDriver()) return TRUE;
  ReleaseEverything();
  return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return Attach();
    case DLL_PROCESS_DETACH:
      // Non-null when the process is ending, null on FreeLibrary.
      if (!reserved) ReleaseEverything();
      return TRUE;
    default:  // thread attach and detach concern nothing here
      return TRUE;
  }
}
