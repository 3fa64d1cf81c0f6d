// The version query and the classification by platform identifier and
// version.

#include "platformDetection.h"

#include <windows.h>

namespace {

struct Classified {
  PlatformClass platformClass;
  const char* name;
};

// Windows 95 reports 4.0; 98 and Millennium report 4.10 and 4.90. The names
// are those the log has always shown, "Millenium" misspelt as it stands in
// every existing log.
Classified ClassifyWindows9x(DWORD major, DWORD minor) {
  if (major < 4 || (major == 4 && minor == 0))
    return {kPlatformWindows9x, "Microsoft Windows 95 "};
  return {kPlatformWindows9x, "Microsoft Windows 98 or Millenium"};
}

Classified ClassifyNt(DWORD major) {
  if (major <= 4) return {kPlatformNt4, "Microsoft Windows NT "};
  if (major == 5) return {kPlatformNt5, "Microsoft Windows 2000 "};
  return {kPlatformUnsupported, "Unsupported platform "};
}

Classified Classify(const OSVERSIONINFOEXA& version) {
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

bool QueryPlatform(Platform* platform) {
  static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
  static_assert(sizeof(OSVERSIONINFOA) == 148, "version record");
  static_assert(sizeof platform->servicePack == 128, "szCSDVersion");
  OSVERSIONINFOEXA version;
  if (!QueryVersion(version)) return false;
  Classified classified = Classify(version);
  platform->platformClass = classified.platformClass;
  platform->name = classified.name;
  platform->major = version.dwMajorVersion;
  platform->minor = version.dwMinorVersion;
  platform->build = version.dwBuildNumber & 0xFFFF;
  CopyMemory(platform->servicePack, version.szCSDVersion,
             sizeof platform->servicePack);
  platform->servicePack[sizeof platform->servicePack - 1] = '\0';
  return true;
}
