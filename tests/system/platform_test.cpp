// Each Windows version, as Wine answers GetVersionExA for a program of that
// file name: the plug-in's version line, its platform class and the back
// end it binds, seen from the stand-in host in a child process.
#include <gtest/gtest.h>

#include <algorithm>

#include "host_sandbox.h"
#include "plugin_log.h"

using namespace system_test;

namespace {

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

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(tolower(c)); });
  return text;
}

class PlatformClass : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformClass, VersionLineAndBackEndFromTheRealVersionAnswers) {
  const PlatformCase& platform = GetParam();
  HostSandbox sandbox(platform.version);
  sandbox.AddEverything();
  sandbox.WriteSettings("KeyFirstDelay=250\r\nKeyRepeatDelay=80\r\n");

  VersionAnswer answer = sandbox.RunProbe();
  ASSERT_TRUE(answer.answered);
  EXPECT_EQ(platform.platform, answer.platform);
  EXPECT_EQ(platform.major, answer.major);
  EXPECT_EQ(platform.minor, answer.minor);

  HostRun run = sandbox.RunHost("--answer-boxes --window none --run 100");
  ASSERT_FALSE(run.process.timedOut) << run.process.output;
  std::string head = BannerLines(250, 80);

  if (platform.backEnd) {
    EXPECT_EQ(0u, run.process.exitCode) << run.process.output;
    EXPECT_EQ(head + VersionLine(platform.name, answer) +
                  BoundLines(platform.backEnd) + kBreakLine,
              run.log);
    std::vector<std::string> loaded =
        run.LinesStarting("host: back end loaded: ");
    ASSERT_EQ(1u, loaded.size()) << run.process.output;
    EXPECT_TRUE(EndsWith(Lower(loaded[0]), "\\" + Lower(platform.backEnd)))
        << loaded[0];
    EXPECT_TRUE(run.LinesStarting("host: message box").empty())
        << run.process.output;
    return;
  }

  EXPECT_EQ(1u, run.process.exitCode) << run.process.output;
  if (platform.name) {
    EXPECT_EQ(head + VersionLine(platform.name, answer) + kUnsupportedTail,
              run.log);
  } else {
    EXPECT_EQ(0u, run.log.find(head + "> Windows Version - ")) << run.log;
    EXPECT_TRUE(EndsWith(run.log, VersionLineTail(answer) + kUnsupportedTail))
        << run.log;
    EXPECT_EQ(1, CountOf(run.log, "> Windows Version - ")) << run.log;
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
