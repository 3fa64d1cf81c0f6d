// The check tool's commands in this process, on the simulated card, which
// the test holds loaded so that its records outlive the command. As
// Windows 98 the tool goes through TandorUtl (Commands.*), as
// Windows 2000 through the simulated wdmI2cDll.dll (CommandsWdm.*).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands.h"
#include "harness.h"
#include "textFormat.h"

using namespace harness;

namespace {

// The width of the report's label column ("Bus scan:     ").
const size_t kLabelWidth = 14;

// Each line of `text` without the report's label column and, in the key
// test, the time column ("   1.25 s  "): "0x90/0x91  answers, read 0x5A",
// "18 Key_Power Power", "released after 3 repeats".
std::vector<std::string> Entries(const std::string& text) {
  std::vector<std::string> entries;
  for (std::string line : Lines(text)) {
    line = line.size() > kLabelWidth ? line.substr(kLabelWidth) : "";
    size_t seconds = line.find(" s  ");
    if (seconds != std::string::npos &&
        line.find_first_not_of(" .0123456789") == seconds + 1)
      line = line.substr(seconds + 4);
    size_t first = line.find_first_not_of(' ');
    entries.push_back(first == std::string::npos ? "" : line.substr(first));
  }
  return entries;
}

bool Has(const std::vector<std::string>& entries, const std::string& entry) {
  for (const std::string& candidate : entries)
    if (candidate == entry) return true;
  return false;
}

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(driver_.Load());
    card_ = driver_.card();
    ASSERT_NE(nullptr, card_);
    card_->Reset();
  }

  CheckStatus Run(CommandKind kind, DWORD seconds = 0) {
    static char text[1 << 16];
    TextBuffer report(text, sizeof text);
    CheckStatus status = RunCommand(report, Command{kind, seconds});
    EXPECT_LT(report.length(), static_cast<int>(sizeof text) - 1)
        << "report cut short";
    report_ = text;
    return status;
  }
  std::vector<std::string> ReportEntries() const { return Entries(report_); }

  // A fault for every transaction from now on.
  void FaultEveryTransaction(SimFaultKind kind) {
    SimFault fault = {kind, -1, -1, -1, -1, 0};
    card_->AddFault(&fault);
  }

  // The key test over a script of keys names each key once, in order, from
  // the plug-in's table.
  void ExpectKeysOfAScript() {
    const SimKeyStep script[] = {
        {100, 18}, {500, -1}, {700, 21}, {900, -1}, {1100, 27}};
    card_->PlayKeyScript(script, sizeof script / sizeof script[0]);
    EXPECT_EQ(kAllWorked, Run(kKeys, 2)) << report_;
    std::vector<std::string> keys;
    for (const std::string& entry : ReportEntries())
      if (entry.find("Key_") != std::string::npos ||
          entry.find("no key") != std::string::npos)
        keys.push_back(entry);
    std::vector<std::string> expected = {"18 Key_Power Power",
                                         "21 is no key of this remote",
                                         "27 Key_VolumeUp VolumeUp"};
    EXPECT_EQ(expected, keys) << report_;
    EXPECT_NE(std::string::npos, report_.find("3 keys, 0 failed")) << report_;
    EXPECT_NE(std::string::npos, report_.find("released after")) << report_;
  }

  // A key is held, but every reading fails: no key shows.
  void ExpectNoKeyFromFailedReadings(SimFaultKind kind) {
    card_->PressKey(18);
    FaultEveryTransaction(kind);
    EXPECT_EQ(kReceiverSilent, Run(kKeys, 1)) << report_;
    EXPECT_EQ(std::string::npos, report_.find("Key_")) << report_;
  }

  SimDriver driver_;  // held, so that the records outlive the command
  const SimControl* card_ = nullptr;
  std::string report_;
};

class CommandsWdm : public Commands {};

TEST_F(Commands, ScanListsExactlyTheCardsDevicesAndOnlyReads) {
  EXPECT_EQ(kAllWorked, Run(kScan)) << report_;
  std::vector<std::string> entries = ReportEntries();
  std::vector<std::string> devices;
  for (const std::string& entry : entries)
    if (entry.find("answers, read") != std::string::npos)
      devices.push_back(entry);
  std::vector<std::string> expected = {
      "0x90/0x91  answers, read 0x5A",
      "0x96/0x97  answers, read 0xAA  the remote receiver"};
  EXPECT_EQ(expected, devices) << report_;
  EXPECT_TRUE(Has(entries, "2 devices answer")) << report_;

  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
  // Every address byte after a start is a read address: a scan writes to
  // no device. 0x08 to 0x77: 112 probes.
  std::vector<SimBusEvent> events = Records(card_->GetBusEvents);
  int probes = 0;
  for (size_t i = 1; i < events.size(); ++i) {
    if (events[i - 1].type != SIM_EVENT_START) continue;
    ASSERT_EQ(SIM_EVENT_BYTE_OUT, events[i].type);
    EXPECT_EQ(1, events[i].value & 1) << "address byte " << events[i].value;
    ++probes;
  }
  EXPECT_EQ(112, probes);
  EXPECT_TRUE(Records(card_->GetSoundWrites).empty());
}

TEST_F(Commands, ScanWithoutAnAnsweringReceiverGivesItsStatus) {
  FaultEveryTransaction(SIM_FAULT_NACK_BYTE);
  EXPECT_EQ(kReceiverSilent, Run(kScan)) << report_;
  EXPECT_TRUE(Has(ReportEntries(), "0 devices answer")) << report_;
  EXPECT_NE(std::string::npos, report_.find("is not among them")) << report_;
}

// The sound sequences are the plug-in's own: the same writes, each
// transaction inside a raised entry flag, lowered afterwards.
TEST_F(Commands, SoundSwitchesWriteThePluginsValuesUnderTheEntryFlag) {
  EXPECT_EQ(kAllWorked, Run(kSoundOn)) << report_;
  EXPECT_EQ(kAllWorked, Run(kSoundOff)) << report_;
  std::vector<int> values;
  for (const SimSoundWrite& write : Records(card_->GetSoundWrites))
    values.push_back(write.value);
  EXPECT_EQ((std::vector<int>{0x20, 0x10, 0x10, 0x40, 0x40}), values);
  int conditions = 0;
  for (const SimBusEvent& event : Records(card_->GetBusEvents)) {
    if (event.type != SIM_EVENT_START && event.type != SIM_EVENT_STOP) continue;
    EXPECT_EQ(1, event.entryFlag) << "at " << event.timeUs << " us";
    ++conditions;
  }
  EXPECT_EQ(10, conditions);  // five writes, a start and a stop each
  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
  EXPECT_EQ(0, card_->SoundState());
}

TEST_F(Commands, KeyTestNamesTheKeysOfAScript) {
  ExpectKeysOfAScript();
}

TEST_F(Commands, AReadingThatFailsOnTheBusIsNeverAKey) {
  ExpectNoKeyFromFailedReadings(SIM_FAULT_NACK_BYTE);
  EXPECT_TRUE(
      Has(ReportEntries(), "failed reading: the receiver did not answer"))
      << report_;
}

TEST_F(CommandsWdm, ScanReadsOnlyTheReceiver) {
  EXPECT_EQ(kAllWorked, Run(kScan)) << report_;
  EXPECT_NE(std::string::npos, report_.find("cannot scan the")) << report_;
  EXPECT_TRUE(Has(ReportEntries(), "answers at 0x96/0x97, no key down (0xAA)"))
      << report_;
  EXPECT_EQ(1u, Records(card_->GetKeyReads).size());
}

TEST_F(CommandsWdm, KeyTestNamesTheKeysOfAScript) {
  ExpectKeysOfAScript();
  for (const SimKeyRead& read : Records(card_->GetKeyReads))
    ASSERT_EQ(1, read.viaWdm);
}

// The plug-in does not look at wdmI2cDll.dll's read result; the tool does,
// so that a receiver that does not answer shows as one.
TEST_F(CommandsWdm, AReadingThatFailsIsNeverAKey) {
  ExpectNoKeyFromFailedReadings(SIM_FAULT_WDM_READ_FAILS);
}

}  // namespace
