// The names of the Windows versions, by platform and version number.

#include "windowsName.h"

#include "output.h"

namespace {

struct NamedVersion {
  unsigned major;
  unsigned minor;
  const char* name;
};

// What Windows 95, 98 and Millennium report.
const NamedVersion kWindows9x[] = {
    {4, 0, "Windows 95"}, {4, 10, "Windows 98"}, {4, 90, "Windows Millennium"}};

// The NT versions known by a name of their own.
const NamedVersion kNamedNt[] = {{5, 0, "Windows 2000"},
                                 {5, 1, "Windows XP"},
                                 {5, 2, "Windows Server 2003"}};

template <int count>
const char* NameOf(const NamedVersion (&table)[count],
                   const Platform& platform) {
  for (const NamedVersion& version : table) {
    if (version.major == platform.major && version.minor == platform.minor)
      return version.name;
  }
  return nullptr;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The service-pack text without the blanks around it: Windows 98 Second
// Edition reports " A ".
void CopyTrimmed(const char* text, char* out, int size) {
  while (IsBlank(*text)) ++text;
  int length = 0;
  while (text[length] && length < size - 1) {
    out[length] = text[length];
    ++length;
  }
  while (length > 0 && IsBlank(out[length - 1])) --length;
  out[length] = '\0';
}

// The name alone, or the version numbers where the version has no name.
void PrintName(TextOutput& out, const Platform& platform) {
  const char* name = nullptr;
  const char* numbered = "Windows NT %u.%u";
  switch (platform.platformClass) {
    case kPlatformWin32s:
      numbered = "Win32s on Windows %u.%u";  // the Windows 3.x it runs on
      break;
    case kPlatformWindows9x:
      name = NameOf(kWindows9x, platform);
      numbered = "Windows %u.%u";
      break;
    case kPlatformNt5:
      name = NameOf(kNamedNt, platform);
      break;
    case kPlatformNt4:
    case kPlatformUnsupported:
      // NT 4 and earlier, and NT 6 and later: the only other platform
      // identifier, Windows CE's, does not run this program.
      break;
  }
  if (name) {
    Print(out, "%s", name);
  } else {
    Print(out, numbered, platform.major, platform.minor);
  }
}

}  // namespace

void PrintWindowsName(TextOutput& out, const Platform& platform) {
  char servicePack[sizeof platform.servicePack];
  CopyTrimmed(platform.servicePack, servicePack, sizeof servicePack);
  const char* blank = servicePack[0] ? " " : "";
  PrintName(out, platform);
  // Windows 95, 98 and Millennium show their service-pack letter after the
  // build number (as Win32s its own version), NT its service pack after the
  // name.
  if (platform.platformClass == kPlatformWindows9x ||
      platform.platformClass == kPlatformWin32s) {
    Print(out, " (%u.%u.%u%s%s)", platform.major, platform.minor,
          platform.build, blank, servicePack);
  } else {
    Print(out, "%s%s (%u.%u.%u)", blank, servicePack, platform.major,
          platform.minor, platform.build);
  }
}
