#include "machine_info.h"

#include <windows.h>

#include <stdio.h>

#include "files.h"

namespace {

OSVERSIONINFOA Version() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  return version;
}

const char* PlatformName(const OSVERSIONINFOA& version) {
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (version.dwMinorVersion == 0) return "Windows 95";
    if (version.dwMinorVersion == 10) return "Windows 98";
    return "Windows Millennium";
  }
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return "Windows NT";
  return "Win32s";
}

}  // namespace

std::string WineVersion() {
  typedef const char*(__cdecl * WineGetVersionFn)(void);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto get = reinterpret_cast<WineGetVersionFn>(reinterpret_cast<void*>(
      ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr));
  return get ? get() : "";
}

std::string WindowsVersion() {
  OSVERSIONINFOA version = Version();
  char text[96];
  snprintf(text, sizeof text, "%lu.%lu.%lu (%s)", version.dwMajorVersion,
           version.dwMinorVersion, version.dwBuildNumber & 0xFFFF,
           PlatformName(version));
  return text;
}

bool IsWindows9x() {
  return Version().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return static_cast<int>(info.dwNumberOfProcessors);
}

std::string Now() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", time.wYear,
           time.wMonth, time.wDay, time.wHour, time.wMinute);
  return text;
}

std::string HostLoadAverages() {
  std::string text = harness::ReadText("Z:\\proc\\loadavg");
  size_t end = 0;
  for (int field = 0; field < 3 && end != std::string::npos; ++field)
    end = text.find(' ', end + (field ? 1 : 0));
  return end == std::string::npos ? "" : text.substr(0, end);
}
