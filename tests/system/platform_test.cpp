// Each Windows version, as Wine answers GetVersionExA for a program of that
// file name: the plug-in's version line, its platform class and the back
// end it binds, seen from the stand-in host in a child process.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "host_run.h"

using namespace system_test;

namespace {

// What a probe program of the same version name sees from GetVersionExA.
struct VersionAnswer {
  bool answered = false;
  unsigned long platform = 0, major = 0, minor = 0, build = 0;
  std::string csd;

  // The plug-in's version line from these answers.
  std::string Line(const std::string& platformName) const {
    return VersionLine(platformName, major, minor, csd, build);
  }
};

// The probe's lines in the order it prints them; an empty csd is left "".
VersionAnswer RunProbe(const harness::Installation& folder) {
  VersionAnswer answer;
  int answered = 0;
  char csd[256] = "";
  sscanf(folder.Run("probe.exe", "").output.c_str(),
         "answered=%d record=%*u platform=%lu major=%lu minor=%lu build=%lu "
         "csd=%255[^\r\n]",
         &answered, &answer.platform, &answer.major, &answer.minor,
         &answer.build, csd);
  answer.answered = answered == 1;
  answer.csd = csd;
  return answer;
}

struct PlatformCase {
  const char* version;  // Wine's name of the Windows version
  // What that Windows answers (Wine's "win10" answers 6.2, as Windows 10
  // does for a program that does not declare itself compatible).
  unsigned long platform, major, minor;
  const char* name;     // the version line's platform name; null: not fixed
  const char* backEnd;  // the library bound; null: the platform is refused
};

const char kUtl[] = "tandorutl.dll";
const char kWdm[] = "wdmI2cDll.dll";

const PlatformCase kPlatforms[] = {
    {"win31", 0, 3, 10, "Microsoft Win32s ", kUtl},
    {"win95", 1, 4, 0, "Microsoft Windows 95 ", kUtl},
    {"win98", 1, 4, 10, "Microsoft Windows 98 or Millenium", kUtl},
    {"winme", 1, 4, 90, "Microsoft Windows 98 or Millenium", kUtl},
    {"nt40", 2, 4, 0, "Microsoft Windows NT ", nullptr},
    {"win2k", 2, 5, 0, "Microsoft Windows 2000 ", kWdm},
    {"winxp", 2, 5, 1, "Microsoft Windows 2000 ", kWdm},
    {"win2003", 2, 5, 2, "Microsoft Windows 2000 ", kWdm},
    {"win10", 2, 6, 2, nullptr, nullptr},
};

// Names the case by its version in test names and messages.
void PrintTo(const PlatformCase& platform, std::ostream* out) {
  *out << platform.version;
}

class PlatformClass : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformClass, VersionLineAndBackEndFromTheRealVersionAnswers) {
  const PlatformCase& platform = GetParam();
  HostFolder folder(platform.version);
  folder.Add("probe.exe");
  folder.WriteSettings(
      harness::SettingsSection("KeyFirstDelay=250\r\nKeyRepeatDelay=80\r\n"));

  VersionAnswer answer = RunProbe(folder);
  ASSERT_TRUE(answer.answered);
  EXPECT_EQ(platform.platform, answer.platform);
  EXPECT_EQ(platform.major, answer.major);
  EXPECT_EQ(platform.minor, answer.minor);

  HostRun run(folder, "--answer-boxes --window none --run 100");
  ASSERT_FALSE(run.process.timedOut) << run.process.output;
  std::vector<std::string> lines = BannerLines(250, 80);

  if (platform.backEnd) {
    EXPECT_EQ(0u, run.process.exitCode) << run.process.output;
    lines.push_back(answer.Line(platform.name));
    for (const std::string& line : BoundLines(platform.backEnd))
      lines.push_back(line);
    lines.push_back(kBreakLine);
    EXPECT_EQ(OnDisk(lines), run.log);
    std::vector<std::string> loaded =
        run.LinesStarting("host: back end loaded: ");
    ASSERT_EQ(1u, loaded.size()) << run.process.output;
    std::string tail = "\\" + std::string(platform.backEnd);
    EXPECT_TRUE(
        loaded[0].size() > tail.size() &&
        _stricmp(&loaded[0][loaded[0].size() - tail.size()], tail.c_str()) == 0)
        << loaded[0];
    EXPECT_TRUE(run.LinesStarting("host: message box").empty())
        << run.process.output;
    return;
  }

  // Refused inside GetInterfacePtr, after its one box.
  EXPECT_EQ(1u, run.process.exitCode) << run.process.output;
  EXPECT_EQ(std::vector<std::string>({FatalBox("This system don't support.")}),
            run.LinesStarting("host: message box"))
      << run.process.output;
  EXPECT_TRUE(run.LinesStarting("host: GetInterfacePtr ->").empty());
  if (platform.name) {
    lines.push_back(answer.Line(platform.name));
    EXPECT_EQ(OnDisk(lines) + kUnsupportedTail, run.log);
  } else {
    const std::string versionLine = "> Windows Version - ";
    EXPECT_EQ(0u, run.log.find(OnDisk(lines) + versionLine)) << run.log;
    std::string tail = answer.Line("").substr(versionLine.size());
    EXPECT_TRUE(EndsWith(run.log, tail + "\r\n" + kUnsupportedTail)) << run.log;
    EXPECT_EQ(1, CountOf(run.log, versionLine)) << run.log;
  }
  EXPECT_TRUE(run.LinesStarting("host: back end loaded").empty());
  EXPECT_TRUE(run.EventsStarting("Start").empty()) << run.process.output;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PlatformClass, ::testing::ValuesIn(kPlatforms),
    [](const ::testing::TestParamInfo<PlatformCase>& info) {
      return std::string(info.param.version);
    });

}  // namespace
