// The stand-in host's command line: the schedules a test or a user writes
// must mean what they say, and a typo must be refused, not half-read.
#include <gtest/gtest.h>

#include "options.h"

namespace {

HostOptions Parse(const std::vector<std::string>& args, std::string* error) {
  HostOptions options;
  error->clear();
  if (!ParseOptions(args, &options, error) && error->empty())
    *error = "(failed without a reason)";
  return options;
}

TEST(HostOptions, WindowScheduleInOrder) {
  std::string error;
  HostOptions options =
      Parse({"--window", "open@0,close@3000,open@5000"}, &error);
  ASSERT_EQ("", error);
  ASSERT_EQ(3u, options.window.size());
  EXPECT_TRUE(options.window[0].open);
  EXPECT_EQ(3000, options.window[1].atMs);
  EXPECT_FALSE(options.window[1].open);
  EXPECT_EQ(5000, options.window[2].atMs);

  EXPECT_TRUE(Parse({"--window", "none"}, &error).window.empty());
  // Without the option the window is open from the start, as Mirabo's is.
  options = Parse({}, &error);
  ASSERT_EQ(1u, options.window.size());
  EXPECT_TRUE(options.window[0].open);
  EXPECT_EQ(0, options.window[0].atMs);

  for (const char* bad : {"open@", "shut@5", "open@-1", "open@5,close@3",
                          "open@1x", "open@0x10"}) {
    Parse({"--window", bad}, &error);
    EXPECT_NE("", error) << bad;
  }
}

TEST(HostOptions, KeyScriptWithCommentsHexAndRelease) {
  std::vector<KeyStep> steps;
  std::string error;
  ASSERT_TRUE(
      ParseKeyScript("# digits\n500:1, 700:-1\n900:0x1B  # VolumeUp\n"
                     "2500:-1",
                     &steps, &error))
      << error;
  ASSERT_EQ(4u, steps.size());
  EXPECT_EQ(500, steps[0].atMs);
  EXPECT_EQ(1, steps[0].code);
  EXPECT_EQ(-1, steps[1].code);
  EXPECT_EQ(900, steps[2].atMs);
  EXPECT_EQ(27, steps[2].code);
  EXPECT_EQ(2500, steps[3].atMs);

  for (const char* bad : {"500", "500:", ":1", "500:256", "500:-2", "x:1",
                          "500:1:2", "500:1,400:2", "500;1"}) {
    EXPECT_FALSE(ParseKeyScript(bad, &steps, &error)) << bad;
  }
}

TEST(HostOptions, RunLengthFollowsTheSchedules) {
  std::string error;
  EXPECT_EQ(3000, RunLengthMs(Parse({}, &error)));
  EXPECT_EQ(7000, RunLengthMs(Parse({"--window", "open@0,close@5000", "--keys",
                                     "500:1,1000:-1"},
                                    &error)));
  EXPECT_EQ(8000, RunLengthMs(Parse({"--keys", "6000:1"}, &error)));
  EXPECT_EQ(1200,
            RunLengthMs(Parse({"--run", "1200", "--keys", "6000:1"}, &error)));
  EXPECT_EQ(0, RunLengthMs(Parse({"--run", "0"}, &error)));
}

TEST(HostOptions, RefusesWhatItCannotRead) {
  std::string error;
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{
           {"--bogus"},
           {"--run"},
           {"--run", "-5"},
           {"--run", "soon"},
           {"--keys", "500:1", "--keys-file", "script.txt"},
           {"--vcd"}}) {
    Parse(bad, &error);
    EXPECT_NE("", error) << bad[0];
  }
  HostOptions options =
      Parse({"--answer-boxes", "--show-log", "--vcd", "bus.vcd"}, &error);
  EXPECT_EQ("", error);
  EXPECT_TRUE(options.answerBoxes);
  EXPECT_TRUE(options.showLog);
  EXPECT_EQ("bus.vcd", options.vcdPath);
}

}  // namespace
