#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

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

// Every box with caption, text, icon and owner, each handed on before it
// closes.
TEST(BoxAnswerer, HandsEachBoxOnBeforeItClosesWithTheOwnerAskedFor) {
  std::vector<std::string> seen;
  BoxAnswerer answerer([&](const Box& box) {
    // Still open: the line is printed before the box goes.
    seen.push_back(Describe(box) + (IsWindow(FindWindowA("#32770", "Cap"))
                                        ? " (open)"
                                        : " (closed)"));
  });
  EXPECT_EQ(IDOK, MessageBoxA(nullptr, "first", "One", MB_OK));
  EXPECT_EQ(IDOK,
            MessageBoxA(GetDesktopWindow(), "two\nlines", "Cap", MB_ICONERROR));
  ASSERT_EQ(2u, seen.size());
  EXPECT_EQ(
      "message box: caption \"Cap\", icon error, owner desktop, text "
      "\"two\\nlines\"; answered \"OK\" (open)",
      seen[1]);
  ASSERT_EQ(2u, answerer.boxes().size());
  EXPECT_EQ("One|first|icon=0|owner=0", Summary(answerer.boxes()[0]));
  // Windows keeps no desktop owner: the box itself has none.
  EXPECT_EQ("Cap|two\nlines|icon=1|owner=0", Summary(answerer.boxes()[1]));
}

TEST(SettingsFile, HoldsAllFiveKeysAsTheProfileReaderReadsThem) {
  TempDir dir;
  PluginSettings settings;
  settings.keyFirstDelay = -5;
  settings.keyRepeatDelay = 70;
  settings.leaveSoundOnExit = 1;
  WriteSettingsFile(dir.path(), settings);
  std::string ini = dir.File("mirabo.ini");
  const struct {
    const char* key;
    int value;
  } kExpected[] = {{"KeyFirstDelay", -5},
                   {"KeyRepeatDelay", 70},
                   {"LeaveSoundOnExit", 1},
                   {"UseAcorpCompMode", 0},
                   {"UseLog", 1}};
  for (const auto& expected : kExpected)
    EXPECT_EQ(expected.value,
              static_cast<int>(GetPrivateProfileIntA(
                  "MiraboRemote", expected.key, 12345, ini.c_str())))
        << expected.key;
  // A new file replaces the old one whole.
  WriteSettingsFile(dir.path(), SettingsSection("UseLog=0\r\n"));
  EXPECT_EQ("[MiraboRemote]\r\nUseLog=0\r\n", ReadText(ini));
  EXPECT_FALSE(FileExists(ini + ".new"));
}

TEST(HostObject, OwnedOneOutlivesItsLastReleaseAndANewOneGoesWithIt) {
  std::unique_ptr<HostObject<IRemoteHost>> owned(new HostObject<IRemoteHost>);
  EXPECT_EQ(2u, owned->AddRef());
  EXPECT_EQ(1u, owned->Release());
  EXPECT_EQ(0u, owned->Release());
  EXPECT_EQ(0, owned->count());  // still there to be asked

  ReferenceTally tally;
  auto* made = new HostObject<IRemoteHost>(tally);
  void* unknown = nullptr;
  EXPECT_EQ(S_OK, made->QueryInterface(IID_IUnknown, &unknown));
  EXPECT_EQ(E_NOINTERFACE, made->QueryInterface(IID_IClassFactory, &unknown));
  EXPECT_EQ(nullptr, unknown);
  EXPECT_EQ(2, tally.queries);
  EXPECT_EQ(1u, made->Release());
  EXPECT_EQ(0, tally.destroyed);
  EXPECT_EQ(0u, made->Release());
  EXPECT_EQ(1, tally.destroyed);
}

TEST(KeyRecorder, KeepsNullTextsAsNullAndWaitsOnlyAsLongAsAsked) {
  KeyRecorder recorder;
  int calls = 0;
  recorder.onKey = [&] { ++calls; };
  EXPECT_FALSE(recorder.WaitForKeys(1, 50));
  EXPECT_EQ(S_OK, recorder.OnKey(nullptr, "Label"));
  EXPECT_TRUE(recorder.WaitForKeys(1, 50));
  ASSERT_EQ(1u, recorder.size());
  EXPECT_EQ("(null)", recorder.events()[0].name);
  EXPECT_EQ("Label", recorder.events()[0].label);
  EXPECT_EQ(GetCurrentThreadId(), recorder.events()[0].threadId);
  EXPECT_EQ(0, recorder.events()[0].timeUs);
  EXPECT_EQ(1, calls);
  recorder.Clear();
  EXPECT_EQ(0u, recorder.size());
}
