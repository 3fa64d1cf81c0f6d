#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace harness;

TEST(BoxCatcher, SeesEveryBoxWithCaptionTextIconAndOwner) {
  BoxAnswerer catcher;
  EXPECT_EQ(IDOK, MessageBoxA(nullptr, "first", "One", MB_OK));
  EXPECT_EQ(IDOK,
            MessageBoxA(GetDesktopWindow(), "second", "Two", MB_ICONERROR));
  ASSERT_EQ(2u, catcher.boxes().size());
  EXPECT_EQ("One", catcher.boxes()[0].caption);
  EXPECT_EQ("first", catcher.boxes()[0].text);
  EXPECT_FALSE(catcher.boxes()[0].hasIcon());
  EXPECT_EQ(nullptr, catcher.boxes()[0].owner);
  EXPECT_EQ("Two", catcher.boxes()[1].caption);
  EXPECT_EQ("second", catcher.boxes()[1].text);
  EXPECT_TRUE(catcher.boxes()[1].hasIcon());
}

TEST(RunProcess, ReportsExitStatusOutputAndEnvironment) {
  TempDir dir;
  ProcessResult result = RunProcess("C:\\windows\\system32\\cmd.exe",
                                    "/c echo [%HARNESS_VALUE%] & exit 3",
                                    dir.path(), 30000, {"HARNESS_VALUE=seen"});
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(3u, result.exitCode);
  EXPECT_NE(std::string::npos, result.output.find("[seen]")) << result.output;
}

TEST(RunProcess, EndsAChildThatOutlivesItsTime) {
  TempDir dir;
  ProcessResult result =
      RunProcess("C:\\windows\\system32\\cmd.exe",
                 "/c for /l %i in (1,0,2) do rem", dir.path(), 300);
  EXPECT_TRUE(result.timedOut);
}

TEST(TempDir, IsRemovedWithItsFiles) {
  std::string path;
  {
    TempDir dir;
    path = dir.path();
    WriteText(dir.File("a.txt"), "text");
    EXPECT_EQ("text", ReadText(dir.File("a.txt")));
  }
  EXPECT_FALSE(FileExists(path));
}

TEST(WindowsVersion, FollowsTheProgramName) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExA(&version));
  std::string exe = ExeDir();
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  if (std::string(path).find("-win98.exe") != std::string::npos) {
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS),
              version.dwPlatformId);
    EXPECT_EQ(4u, version.dwMajorVersion);
    EXPECT_EQ(10u, version.dwMinorVersion);
  } else {
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), version.dwPlatformId);
  }
}
