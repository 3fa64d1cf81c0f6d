// The first steps of every command, and what the tool tells the user when
// one fails: as the user guide would tell it.

#include "backendCheck.h"

#include <windows.h>

#include "busBackend.h"
#include "output.h"
#include "platformDetection.h"
#include "windowsName.h"

namespace {

const char kDriverFile[] = "BtVid_32.Dll";

// Where LoadLibrary would find `file`, as far as the system's search path
// tells; false when it is nowhere.
bool Locate(const char* file, char* path, DWORD size) {
  char* name = nullptr;
  DWORD length = SearchPathA(nullptr, file, nullptr, size, path, &name);
  return length != 0 && length < size;
}

bool IsTandorUtl(const BackendLibrary& library) {
  return &library == &kTandorUtlLibrary;
}

CheckStatus ReportNotFound(TextOutput& out, const BackendLibrary& library) {
  if (IsTandorUtl(library)) {
    Print(out,
          "%s not found." CHECK_MORE
          "Copy tandorcheck.exe into Mirabo's folder, where "
          "TandorUtl.dll" CHECK_MORE "lies, and run it there.\n",
          library.fileName);
  } else {
    Print(
        out,
        "%s not found. Install the card's" CHECK_MORE
        "Windows 2000/XP driver package, or copy wdmI2cDll.dll into" CHECK_MORE
        "Mirabo's folder.\n",
        library.fileName);
  }
  return kBackendNotFound;
}

CheckStatus ReportRefused(TextOutput& out, const BackendLibrary& library,
                          const char* path) {
  char driver[MAX_PATH];
  if (!IsTandorUtl(library)) {
    Print(out,
          "%s did not load (%s)." CHECK_MORE
          "Reinstall the card's Windows 2000/XP driver package.\n",
          library.fileName, path);
  } else if (!Locate(kDriverFile, driver, sizeof driver)) {
    Print(out,
          "%s refused to load:" CHECK_MORE
          "the card's driver %s is not installed." CHECK_MORE
          "Install the card's driver.\n",
          library.fileName, kDriverFile);
  } else {
    Print(out,
          "%s refused to load; its message box said why." CHECK_MORE
          "After \"Init DLL error!\" (and a \"Can't load ... "
          "function!\"" CHECK_MORE "box) the card's driver %s" CHECK_MORE
          "is too old: install the card's own driver." CHECK_MORE
          "After \"Init I2C error!\" the card was not found: check it "
          "in" CHECK_MORE "the Device Manager and restart Windows.\n",
          library.fileName, driver);
  }
  return kBackendRefused;
}

CheckStatus ReportIncomplete(TextOutput& out, const BackendLibrary& library,
                             const char* missing) {
  if (IsTandorUtl(library)) {
    Print(
        out,
        "%s lacks %s:" CHECK_MORE
        "it is damaged or of another version. Copy it again from the" CHECK_MORE
        "Tandor remote's package.\n",
        library.fileName, missing);
  } else {
    Print(out,
          "%s lacks %s:" CHECK_MORE
          "it is of another version. Reinstall the card's Windows "
          "2000/XP" CHECK_MORE "driver package.\n",
          library.fileName, missing);
  }
  return kBackendIncomplete;
}

const char* PlatformsServed(const BackendLibrary& library) {
  return IsTandorUtl(library) ? "Windows 95, 98, Me and Win32s"
                              : "Windows 2000 and XP";
}

}  // namespace

CheckStatus CheckWindows(TextOutput& out) {
  Platform platform;
  if (!QueryPlatform(&platform)) {
    Print(out,
          CHECK_LABEL "Windows does not tell its version:" CHECK_MORE
                      "the remote does not work here.\n",
          "Windows:");
    return kUnsupportedWindows;
  }
  Print(out, CHECK_LABEL, "Windows:");
  PrintWindowsName(out, platform);
  Print(out, "\n");
  SetCurrentPlatformClass(platform.platformClass);
  const BackendLibrary* library = BackendLibraryFor(platform.platformClass);
  if (!library) {
    Print(out,
          CHECK_LABEL
          "none. The remote works on Windows 95, 98, Millennium, 2000 "
          "and" CHECK_MORE "XP only.\n",
          "Bus back end:");
    return kUnsupportedWindows;
  }
  Print(out, CHECK_LABEL "%s (the plug-in's for %s)\n",
        "Bus back end:", library->fileName, PlatformsServed(*library));
  return kAllWorked;
}

CheckStatus CheckMiraboClosed(TextOutput& out) {
  if (FindWindowA("MiraboMainWindow", "Mirabo")) {
    Print(out,
          CHECK_LABEL
          "running. Close Mirabo first: two programs driving the "
          "card's" CHECK_MORE "bus at once spoil each other's transactions.\n",
          "Mirabo:");
    return kMiraboRunning;
  }
  Print(out, CHECK_LABEL "not running\n", "Mirabo:");
  return kAllWorked;
}

CheckStatus LoadBackend(TextOutput& out) {
  const BackendLibrary* served = BackendLibraryFor(CurrentPlatformClass());
  if (!served) return kUnsupportedWindows;  // CheckWindows said so
  const BackendLibrary& library = *served;
  Print(out, CHECK_LABEL, "Loading:");
  char path[MAX_PATH];
  // Loaded by name, as the plug-in loads it; where it was found only tells
  // a missing file from one that refused to load.
  if (!LoadBackendLibrary(library)) {
    if (!Locate(library.fileName, path, sizeof path))
      return ReportNotFound(out, library);
    return ReportRefused(out, library, path);
  }
  DWORD length = GetModuleFileNameA(TheBusBackend().library, path, sizeof path);
  if (length == 0 || length >= sizeof path) lstrcpyA(path, library.fileName);
  const char* missing = nullptr;
  if (!ImportBackendFunctions(library, &missing))
    return ReportIncomplete(out, library, missing);
  Print(out, "%s loaded, its functions found" CHECK_MORE "from %s\n",
        library.fileName, path);
  return kAllWorked;
}

CheckStatus PrepareBus(TextOutput& out) {
  CheckStatus status = CheckWindows(out);
  if (status == kAllWorked) status = CheckMiraboClosed(out);
  if (status == kAllWorked) status = LoadBackend(out);
  return status;
}
