// tandorcheck.exe itself, in child processes, each in a folder laid out
// like Mirabo's with the pieces a test chooses: its exit statuses, what it
// says when a step fails, the boxes of a refused TandorUtl, the refusal
// while Mirabo runs, and a whole check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exitStatus.h"
#include "harness.h"

using namespace harness;

namespace {

// A file from the bin folder, or from bin\variants\<variant>\.
struct Piece {
  const char* file;
  const char* variant;
};

const Piece kTandorUtl = {"TandorUtl.dll", ""};
const Piece kDriver = {"BtVid_32.Dll", ""};
const Piece kWdm = {"wdmI2cDll.dll", ""};

// The tool as `version` in an installation with `pieces`, run with `args`.
ProcessResult RunTool(const std::string& version,
                      const std::vector<Piece>& pieces, const std::string& args,
                      const std::vector<std::string>& env = {}) {
  Installation folder(version);
  folder.Add("tandorcheck.exe");
  for (const Piece& piece : pieces) folder.Add(piece.file, piece.variant);
  EXPECT_TRUE(folder.complete()) << folder.missing();
  return folder.Run("tandorcheck.exe", args, env, kAnswerBoxes);
}

std::vector<std::string> BoxTexts(const ProcessResult& run) {
  std::vector<std::string> texts;
  for (const Box& box : run.boxes)
    texts.push_back(box.caption + "|" + box.text);
  return texts;
}

struct StatusCase {
  const char* name;
  const char* version;
  std::vector<Piece> pieces;
  const char* args;
  const char* simcard;  // the SIMCARD setting, or null
  CheckStatus status;
  const char* says;  // a part of what the tool prints
  std::vector<std::string> boxes;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
  *out << c.name;
}

class ProgramStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ProgramStatus, SaysWhichStepFailedAndEndsWithItsStatus) {
  const StatusCase& c = GetParam();
  std::vector<std::string> env;
  if (c.simcard) env.push_back(std::string(SIMCARD_ENV "=") + c.simcard);
  ProcessResult run = RunTool(c.version, c.pieces, c.args, env);
  ASSERT_FALSE(run.timedOut) << run.output;
  EXPECT_EQ(static_cast<DWORD>(c.status), run.exitCode) << run.output;
  EXPECT_NE(std::string::npos, run.output.find(c.says)) << run.output;
  EXPECT_EQ(c.boxes, BoxTexts(run)) << run.output;
}

const Piece kNoReadSclDriver = {"BtVid_32.Dll", SIM_VARIANT_NO_I2CSWREADSCL};
const Piece kUtlWithoutGetEntryFlag = {"tandorutl.dll",
                                       SIM_VARIANT_UTL_NO_GETENTRYFLAG};
const Piece kWdmWithoutWrite3 = {"wdmI2cDll.dll",
                                 SIM_VARIANT_WDM_NO_WRITE3BYTE};

// Each row: name, Windows version, pieces, arguments, SIMCARD setting,
// exit status, a part of what the tool prints, the boxes answered.
// clang-format off
const StatusCase kStatusCases[] = {
    {"Nt4", "nt40", {kTandorUtl, kDriver, kWdm}, "scan", nullptr,
     kUnsupportedWindows,
     "The remote works on Windows 95, 98, Millennium, 2000 and", {}},
    {"BadArguments", "win98", {kTandorUtl, kDriver}, "keys 0", nullptr,
     kBadArguments, "tandorcheck: the key test's length", {}},
    {"TandorUtlMissing", "win98", {kDriver, kWdm}, "scan", nullptr,
     kBackendNotFound, "Copy tandorcheck.exe into Mirabo's folder", {}},
    {"DriverMissing", "win98", {kTandorUtl}, "scan", nullptr, kBackendRefused,
     "the card's driver BtVid_32.Dll is not installed",
     {"TandorUtl|Init DLL error!"}},
    {"DriverLacksAFunction", "win98", {kTandorUtl, kNoReadSclDriver}, "scan",
     nullptr, kBackendRefused, "refused to load; its message box said why",
     {"Error|Can't load software I2C function!", "TandorUtl|Init DLL error!"}},
    {"CardNotStarted", "win98", {kTandorUtl, kDriver}, "scan", "i2c_init_ok=0",
     kBackendRefused, "After \"Init I2C error!\"",
     {"TandorUtl|Init I2C error!"}},
    {"TandorUtlLacksAFunction", "win98", {kUtlWithoutGetEntryFlag, kDriver},
     "scan", nullptr, kBackendIncomplete,
     "tandorutl.dll lacks DlkGetEntryFlag", {}},
    {"ReceiverSilent", "win98", {kTandorUtl, kDriver}, "",
     "fault=1:-1:-1:-1:-1:0", kReceiverSilent,
     "The check stopped at the step above (exit status 7).", {}},
    {"WdmMissing", "win2k", {kTandorUtl, kDriver}, "keys 1", nullptr,
     kBackendNotFound, "wdmI2cDll.dll not found. Install the card's", {}},
    {"WdmLacksAFunction", "win2k", {kDriver, kWdmWithoutWrite3}, "sound on",
     nullptr, kBackendIncomplete, "wdmI2cDll.dll lacks write3byte", {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Program, ProgramStatus,
                         ::testing::ValuesIn(kStatusCases),
                         [](const ::testing::TestParamInfo<StatusCase>& info) {
                           return std::string(info.param.name);
                         });

// Two programs driving the bus at once spoil each other's transactions:
// with Mirabo's main window open the tool stops before it loads anything.
TEST(Program, RefusesWhileMiraboRuns) {
  HostWindow mirabo;
  ASSERT_TRUE(mirabo.created());
  ProcessResult run = RunTool("win98", {kTandorUtl, kDriver}, "sound on");
  EXPECT_EQ(static_cast<DWORD>(kMiraboRunning), run.exitCode) << run.output;
  EXPECT_NE(std::string::npos, run.output.find("Close Mirabo first"))
      << run.output;
  EXPECT_EQ(std::string::npos, run.output.find("Loading:")) << run.output;
}

// The report's first line names the Windows the user has, the next the
// back end that the plug-in uses there. Windows 10 tells a program that
// does not declare itself made for it that it is 6.2, and so Wine does.
TEST(Program, FirstLinesNameTheWindowsAndItsBackEnd) {
  struct Case {
    const char* version;
    const char* windows;
    const char* backend;
  };
  const Case cases[] = {
      {"win95", "Windows:      Windows 95 (4.0.950)", "tandorutl.dll"},
      {"win98", "Windows:      Windows 98 (4.10.2222 A)", "tandorutl.dll"},
      {"winxp", "Windows:      Windows XP Service Pack 3 (5.1.2600)",
       "wdmI2cDll.dll"},
      {"win10", "Windows:      Windows NT 6.2 (6.2.9200)", "none"},
  };
  for (const Case& c : cases) {
    ProcessResult run = RunTool(c.version, {}, "scan");
    ASSERT_FALSE(run.timedOut) << run.output;
    size_t first = run.output.find("\r\n");
    size_t second = run.output.find("\r\n", first + 2);
    ASSERT_NE(std::string::npos, second) << run.output;
    EXPECT_EQ(c.windows, run.output.substr(0, first)) << c.version;
    EXPECT_NE(std::string::npos,
              run.output.substr(first, second - first).find(c.backend))
        << c.version << "\n"
        << run.output;
  }
}

// What a double-click gives: every step in order, a key pressed during the
// key test, and the wait for Enter (the test's input is empty).
TEST(Program, WholeCheckOnAWorkingCard) {
  // The key comes 9 s after the driver's load: after the scan and well
  // inside the key test's 20 s, even where the scan's 112 reads take seconds
  // (an emulated processor).
  ProcessResult run = RunTool("win98", {kTandorUtl, kDriver, kWdm}, "",
                              {SIMCARD_ENV "=keys=9000:26,9800:-1"});
  ASSERT_FALSE(run.timedOut) << run.output;
  EXPECT_EQ(static_cast<DWORD>(kAllWorked), run.exitCode) << run.output;
  size_t at = 0;
  for (const char* step :
       {"Windows:      Windows 98", "Bus back end: tandorutl.dll",
        "Mirabo:       not running", "Loading:      tandorutl.dll loaded",
        "Entry flag:   0",
        "Bus scan:", "0x96/0x97  answers, read 0xAA  the remote receiver",
        "Receiver:     answers",
        "Key test:     press some keys on the remote now (20 seconds)",
        "26 Key_ChannelUp ChannelUp", "released after", "1 key, 0 failed",
        "Everything checked works.", "Press Enter to close this window."}) {
    size_t found = run.output.find(step, at);
    ASSERT_NE(std::string::npos, found) << step << "\n" << run.output;
    at = found;
  }
  EXPECT_TRUE(run.boxes.empty());
}

}  // namespace
