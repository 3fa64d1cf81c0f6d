#include "platformDetection.h"

#include <windows.h>

#include "settingsLog.h"
#include "testSeam.h"

namespace {

struct Platform {
  int platformClass;
  const char* name;  // as the version line shows it
};

// Windows 95 reports 4.0; 98 and Millennium report 4.10 and 4.90.
Platform ClassifyWindows9x(DWORD major, DWORD minor) {
  if (major < 4 || (major == 4 && minor == 0))
    return {kPlatformWindows9x, "Microsoft Windows 95 "};
  return {kPlatformWindows9x, "Microsoft Windows 98 or Millenium"};
}

Platform ClassifyNt(DWORD major) {
  if (major <= 4) return {kPlatformNt4, "Microsoft Windows NT "};
  if (major == 5) return {kPlatformNt5, "Microsoft Windows 2000 "};
  return {kPlatformUnsupported, "Unsupported platform "};
}

Platform Classify(const OSVERSIONINFOEXA& version) {
  switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      return {kPlatformWin32s, "Microsoft Win32s "};
    case VER_PLATFORM_WIN32_WINDOWS:
      return ClassifyWindows9x(version.dwMajorVersion, version.dwMinorVersion);
    case VER_PLATFORM_WIN32_NT:
      return ClassifyNt(version.dwMajorVersion);
    default:
      return {kPlatformUnsupported, "Unsupported platform "};
  }
}

// Older systems know only the shorter record, so that is the second try.
bool QueryVersion(OSVERSIONINFOEXA& version) {
  ZeroMemory(&version, sizeof version);
  version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  auto* record = reinterpret_cast<OSVERSIONINFOA*>(&version);
  if (GetVersionExA(record)) return true;
  version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  return GetVersionExA(record) != FALSE;
}

}  // namespace

int DetectPlatform() {
  static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
  static_assert(sizeof(OSVERSIONINFOA) == 148, "version record");
  OSVERSIONINFOEXA version;
  if (!QueryVersion(version)) return kPlatformUnsupported;
  Platform platform = Classify(version);
  LogMessage("> Windows Version - %s version %d.%d %s (Build %d)\n",
             platform.name, static_cast<int>(version.dwMajorVersion),
             static_cast<int>(version.dwMinorVersion), version.szCSDVersion,
             static_cast<int>(version.dwBuildNumber & 0xFFFF));
  return platform.platformClass;
}
