// The check tool's names of the Windows versions, from the version records
// that each of them gives.
#include <gtest/gtest.h>

#include <string>

#include "textFormat.h"
#include "windowsName.h"

namespace {

struct NameCase {
  PlatformClass platformClass;
  unsigned major;
  unsigned minor;
  unsigned build;
  const char* servicePack;
  const char* name;
};

std::string NameOf(const NameCase& c) {
  Platform platform = {c.platformClass, nullptr, c.major, c.minor, c.build, {}};
  std::string(c.servicePack)
      .copy(platform.servicePack, sizeof platform.servicePack - 1);
  char text[256];
  TextBuffer buffer(text, sizeof text);
  PrintWindowsName(buffer, platform);
  return text;
}

TEST(WindowsName, NamesEachWindowsAsItsUsersKnowIt) {
  const NameCase cases[] = {
      {kPlatformWin32s, 3, 10, 0, "Win32s 1.3",
       "Win32s on Windows 3.10 (3.10.0 Win32s 1.3)"},
      {kPlatformWindows9x, 4, 0, 950, "", "Windows 95 (4.0.950)"},
      {kPlatformWindows9x, 4, 0, 1111, " B", "Windows 95 (4.0.1111 B)"},
      {kPlatformWindows9x, 4, 10, 1998, " ", "Windows 98 (4.10.1998)"},
      {kPlatformWindows9x, 4, 10, 2222, " A ", "Windows 98 (4.10.2222 A)"},
      {kPlatformWindows9x, 4, 90, 3000, " ", "Windows Millennium (4.90.3000)"},
      {kPlatformWindows9x, 4, 3, 7, "", "Windows 4.3 (4.3.7)"},
      {kPlatformNt4, 3, 51, 1057, "Service Pack 5",
       "Windows NT 3.51 Service Pack 5 (3.51.1057)"},
      {kPlatformNt4, 4, 0, 1381, "Service Pack 6a",
       "Windows NT 4.0 Service Pack 6a (4.0.1381)"},
      {kPlatformNt5, 5, 0, 2195, "Service Pack 4",
       "Windows 2000 Service Pack 4 (5.0.2195)"},
      {kPlatformNt5, 5, 1, 2600, "", "Windows XP (5.1.2600)"},
      {kPlatformNt5, 5, 2, 3790, "Service Pack 2",
       "Windows Server 2003 Service Pack 2 (5.2.3790)"},
      {kPlatformNt5, 5, 3, 4000, "", "Windows NT 5.3 (5.3.4000)"},
      {kPlatformUnsupported, 6, 1, 7601, "Service Pack 1",
       "Windows NT 6.1 Service Pack 1 (6.1.7601)"},
      {kPlatformUnsupported, 10, 0, 19045, "", "Windows NT 10.0 (10.0.19045)"},
  };
  for (const NameCase& c : cases) EXPECT_EQ(c.name, NameOf(c));
}

}  // namespace
