// The command line as GetCommandLineA gives it: the program's name first.
#include <gtest/gtest.h>

#include "commandLine.h"

namespace {

struct Parsed {
  bool ok;
  Command command;
  std::string error;
};

Parsed Parse(const char* line) {
  Parsed parsed;
  const char* error = "";
  parsed.ok = ParseCommandLine(line, &parsed.command, &error);
  parsed.error = error;
  return parsed;
}

TEST(CommandLine, NoArgumentIsTheWholeCheckWithItsKeyTest) {
  for (const char* line : {"tandorcheck", "\"C:\\Mirabo 2\\tandorcheck.exe\"",
                           "\"C:\\Mirabo 2\\tandorcheck.exe\"   "}) {
    Parsed parsed = Parse(line);
    ASSERT_TRUE(parsed.ok) << line;
    EXPECT_EQ(kWholeCheck, parsed.command.kind) << line;
    EXPECT_EQ(kWholeCheckKeySeconds, parsed.command.seconds) << line;
  }
}

TEST(CommandLine, CommandsAndTheirArguments) {
  EXPECT_EQ(kScan, Parse("tandorcheck scan").command.kind);
  EXPECT_EQ(kScan, Parse("\"C:\\a b\\tandorcheck.exe\" SCAN").command.kind);
  EXPECT_EQ(kHelp, Parse("tandorcheck --help").command.kind);
  EXPECT_EQ(kHelp, Parse("tandorcheck /?").command.kind);
  EXPECT_EQ(kSoundOn, Parse("tandorcheck sound on").command.kind);
  EXPECT_EQ(kSoundOff, Parse("tandorcheck\tsound\toff").command.kind);
  Parsed keys = Parse("tandorcheck keys");
  EXPECT_EQ(kKeys, keys.command.kind);
  EXPECT_EQ(kDefaultKeySeconds, keys.command.seconds);
  EXPECT_EQ(45u, Parse("tandorcheck keys 45").command.seconds);
  EXPECT_EQ(kLongestKeySeconds, Parse("tandorcheck keys 3600").command.seconds);
}

TEST(CommandLine, WhatNamesNoCommandIsRefusedWithAReason) {
  for (const char* line :
       {"tandorcheck keys 0", "tandorcheck keys 3601", "tandorcheck keys -5",
        "tandorcheck keys 99999999999", "tandorcheck keys 10s",
        "tandorcheck sound", "tandorcheck sound loud", "tandorcheck scan all",
        "tandorcheck sacn", "tandorcheck keys 5 6 7",
        "tandorcheck --help me"}) {
    Parsed parsed = Parse(line);
    EXPECT_FALSE(parsed.ok) << line;
    EXPECT_FALSE(parsed.error.empty()) << line;
  }
}

}  // namespace
