// Prints the answers of GetVersionExA as a program of this file name gets
// them (Wine picks the Windows version by file name), one "key=value" a
// line. Asks the way the plug-in does: the 156-byte record first, then the
// 148-byte one.
#include <windows.h>
#include <stdio.h>

int main() {
  OSVERSIONINFOEXA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  BOOL answered = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
  if (!answered) {
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    answered = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
  }
  if (!answered) {
    printf("answered=0\n");
    return 1;
  }
  printf(
      "answered=1\nrecord=%lu\nplatform=%lu\nmajor=%lu\nminor=%lu\n"
      "build=%lu\ncsd=%s\n",
      version.dwOSVersionInfoSize, version.dwPlatformId, version.dwMajorVersion,
      version.dwMinorVersion, version.dwBuildNumber, version.szCSDVersion);
  return 0;
}
