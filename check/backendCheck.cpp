// The first steps of every command, and what the tool tells the user when
// one fails: as the user guide would tell it.

#include "backendCheck.h"

#include <windows.h>

#include "backendAdvice.h"
#include "busBackend.h"
#include "output.h"
#include "platformDetection.h"
#include "pollingLoop.h"
#include "windowsName.h"

namespace {

// Where LoadLibrary would find `file`, as far as the system's search path
// tells; false when it is nowhere.
bool Locate(const char* file, char* path, DWORD size) {
  char* name = nullptr;
  DWORD length = SearchPathA(nullptr, file, nullptr, size, path, &name);
  return length != 0 && length < size;
}

// The back end's advice, laid out under the line it follows.
void Advise(TextOutput& out, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void Advise(TextOutput& out, const char* format, ...) {
  ReportContinuation continued(out);
  va_list args;
  va_start(args, format);
  FormatText(continued, format, args);
  va_end(args);
}

// A refusal is the card driver's doing where the back end loads one: it is
// missing, or the back end's own message box told what was wrong with it.
CheckStatus ReportRefused(TextOutput& out, const BackendDescription& backend,
                          const char* path) {
  char driver[MAX_PATH];
  const char* cardDriver = AdviceFor(backend).cardDriver;
  if (!cardDriver) {
    Advise(out, AdviceFor(backend).refused, backend.fileName, path);
  } else if (!Locate(cardDriver, driver, sizeof driver)) {
    Print(out,
          "%s refused to load:" CHECK_MORE
          "the card's driver %s is not installed." CHECK_MORE
          "Install the card's driver.\n",
          backend.fileName, cardDriver);
  } else {
    Advise(out, AdviceFor(backend).refused, backend.fileName, driver);
  }
  return kBackendRefused;
}

}  // namespace

CheckStatus CheckWindows(TextOutput& out, const BackendDescription** backend) {
  *backend = nullptr;
  Platform platform;
  if (!QueryPlatform(&platform)) {
    PrintLabel(out, "Windows:");
    Print(out, "Windows does not tell its version:" CHECK_MORE
               "the remote does not work here.\n");
    return kUnsupportedWindows;
  }
  PrintLabel(out, "Windows:");
  PrintWindowsName(out, platform);
  Print(out, "\n");
  const BackendDescription* served = BackendFor(platform.platformClass);
  if (!served) {
    PrintLabel(out, "Bus back end:");
    Print(out,
          "none. The remote works on Windows 95, 98, Millennium, 2000 "
          "and" CHECK_MORE "XP only.\n");
    return kUnsupportedWindows;
  }
  PrintLabel(out, "Bus back end:");
  Print(out, "%s (the plug-in's for %s)\n", served->fileName,
        AdviceFor(*served).platforms);
  *backend = served;
  return kAllWorked;
}

CheckStatus CheckMiraboClosed(TextOutput& out) {
  if (FindWindowA(kHostWindowClass, kHostWindowTitle)) {
    PrintLabel(out, "Mirabo:");
    Print(out,
          "running. Close Mirabo first: two programs driving the "
          "card's" CHECK_MORE "bus at once spoil each other's transactions.\n");
    return kMiraboRunning;
  }
  PrintLabel(out, "Mirabo:");
  Print(out, "not running\n");
  return kAllWorked;
}

CheckStatus LoadBackend(TextOutput& out, const BackendDescription& backend) {
  PrintLabel(out, "Loading:");
  char path[MAX_PATH];
  // Loaded by name, as the plug-in loads it; where it was found only tells
  // a missing file from one that refused to load.
  if (!LoadBackendLibrary(backend)) {
    if (!Locate(backend.fileName, path, sizeof path)) {
      Advise(out, AdviceFor(backend).notFound, backend.fileName);
      return kBackendNotFound;
    }
    return ReportRefused(out, backend, path);
  }
  DWORD length = GetModuleFileNameA(TheBusBackend().library, path, sizeof path);
  if (length == 0 || length >= sizeof path) lstrcpyA(path, backend.fileName);
  const char* missing = nullptr;
  if (!ImportBackendFunctions(&missing)) {
    Advise(out, AdviceFor(backend).incomplete, backend.fileName, missing);
    return kBackendIncomplete;
  }
  Print(out, "%s loaded, its functions found" CHECK_MORE "from %s\n",
        backend.fileName, path);
  return kAllWorked;
}

CheckStatus PrepareBus(TextOutput& out) {
  const BackendDescription* backend = nullptr;
  CheckStatus status = CheckWindows(out, &backend);
  if (status == kAllWorked) status = CheckMiraboClosed(out);
  if (status == kAllWorked) status = LoadBackend(out, *backend);
  return status;
}
