// Bad settings files and a log that cannot be written. Whatever the file
// holds, the plug-in takes the values as the profile reader gives them (the
// banner's delay line shows them unchanged), a negative delay pauses the
// polling loop 0 ms instead of about 49 days, nothing else is clamped, a
// held key is still delivered and Stop returns at once. A log that cannot
// be written loses its lines and nothing else.

#include <stdio.h>

#include <random>

#include "timed_work.h"
#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_test.h"

using namespace harness;
using namespace testsupport;

namespace {

const int kHeldCode = 18;  // Key_Power
const DWORD kWatchMs = 1000;
const double kPromptStopMs = 2000;
const size_t kUnpausedReadings = 5;  // at the least, in kWatchMs

struct SettingsCase {
  const char* name;
  std::string text;
  // Deliveries within kWatchMs of the start: at least `fewest`, and at most
  // `most` (0: no bound).
  size_t fewest;
  size_t most;
};

std::string Junk() {
  std::mt19937 random(1234);
  std::string junk;
  const char kSpice[] = "[]=\r\n\0\xff-";
  for (int i = 0; i < 4096; ++i) {
    junk += random() % 4 == 0 ? kSpice[random() % (sizeof kSpice - 1)]
                              : static_cast<char>(random() % 256);
  }
  return junk;
}

std::string Section(const std::string& first, const std::string& repeat) {
  return SettingsSection("KeyFirstDelay=" + first +
                         "\r\nKeyRepeatDelay=" + repeat + "\r\n");
}

std::vector<SettingsCase> Cases() {
  return {
      {"Negative", Section("-1", "-5"), kUnpausedReadings, 0},
      {"MostNegative", Section("-2147483648", "-2147483648"), kUnpausedReadings,
       0},
      {"AllBitsSet", Section("4294967295", "4294967295"), kUnpausedReadings, 0},
      {"Huge", Section("2147483647", "2147483647"), 1, 1},
      {"Overflowing", Section("99999999999999999999", "99999999999999999999"),
       1, 0},
      {"NonNumeric", Section("soon", "later"), 1, 0},
      {"Overlong", Section(std::string(5000, '7'), std::string(70000, '3')), 1,
       0},
      {"MissingSection", "[Mirabo]\r\nKeyFirstDelay=5\r\nKeyRepeatDelay=5\r\n",
       1, 0},
      {"BinaryJunk", Junk(), 1, 0},
      {"Empty", "", 1, 0},
  };
}

// The banner's delay line for the delays that the profile reader gives
// from the current folder's settings file, the first read starting from
// 1000 and 100.
std::string ExpectedDelayLine() {
  int first = static_cast<int>(GetPrivateProfileIntA(
      "MiraboRemote", "KeyFirstDelay", 1000, ".\\mirabo.ini"));
  int repeat = static_cast<int>(GetPrivateProfileIntA(
      "MiraboRemote", "KeyRepeatDelay", 100, ".\\mirabo.ini"));
  return "> KeyFirstDelay=" + std::to_string(first) +
         ", KeyRepeatDelay=" + std::to_string(repeat);
}

class BadFiles : public PluginTest {
 protected:
  // Runs the plug-in with a key held for kWatchMs and returns the number of
  // deliveries by then; checks that Stop is prompt and gives everything
  // back.
  size_t RunWithKeyHeld() {
    card_->PressKey(kHeldCode);
    HostApplication host;
    KeyRecorder sink(card_);
    IRemoteDevice* device = StartWith(&sink, &host);
    if (!device) return 0;
    Sleep(kWatchMs);
    size_t delivered = sink.size();
    EXPECT_LT(TimedStop(device), kPromptStopMs);
    EXPECT_EQ(0u, device->Release());
    EXPECT_EQ(1, host.count());
    EXPECT_EQ(1, sink.count());
    for (const KeyEvent& delivery : sink.events())
      EXPECT_EQ("Key_Power", delivery.name);
    return delivered;
  }
};

class BadSettings : public BadFiles,
                    public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(BadSettings, TakenAsReadWithoutStoppingThePlugin) {
  const SettingsCase& bad = GetParam();
  WriteSettingsText(bad.text);
  std::string delayLine = ExpectedDelayLine();
  size_t delivered = RunWithKeyHeld();
  printf("%s: \"%s\", %zu keys in %lu ms\n", bad.name, delayLine.c_str(),
         delivered, static_cast<unsigned long>(kWatchMs));
  EXPECT_GE(delivered, bad.fewest);
  if (bad.most) {
    EXPECT_LE(delivered, bad.most);
  }
  EXPECT_NE(std::string::npos, LogWithLineFeeds().find(delayLine + "\n"))
      << LogWithLineFeeds();
}

TEST_F(BadFiles, NegativeDelaysAreLoggedAsRead) {
  WriteSettingsText(Section("-1", "-5"));
  RunWithKeyHeld();
  EXPECT_NE(std::string::npos,
            LogWithLineFeeds().find("> KeyFirstDelay=-1, KeyRepeatDelay=-5\n"));
}

TEST_F(BadFiles, FileHeldExclusivelyKeepsTheDelaysInForce) {
  WriteSettingsText(Section("5", "5"));
  HANDLE held = CreateFileA(dir_.File("mirabo.ini").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  // Unreadable from the start: the delays in force before any read.
  std::string delayLine = ExpectedDelayLine();
  EXPECT_EQ("> KeyFirstDelay=1000, KeyRepeatDelay=100", delayLine);
  EXPECT_GE(RunWithKeyHeld(), 1u);
  CloseHandle(held);
  EXPECT_NE(std::string::npos, LogWithLineFeeds().find(delayLine + "\n"));
}

TEST_F(BadFiles, FileHeldExclusivelyLaterKeepsTheLastValuesRead) {
  WriteSettingsText(Section("5", "5"));
  card_->PressKey(kHeldCode);
  HostApplication host;
  KeyRecorder sink(card_);
  IRemoteDevice* device = StartWith(&sink, &host);
  ASSERT_NE(nullptr, device);
  EXPECT_TRUE(sink.WaitForKeys(2, 3000));
  HANDLE held = CreateFileA(dir_.File("mirabo.ini").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, held);
  size_t before = sink.size();
  // Still 5 ms apart, not 1000 or 100: a locked file is a missing key.
  EXPECT_TRUE(sink.WaitForKeys(before + kUnpausedReadings, 1000));
  EXPECT_LT(TimedStop(device), kPromptStopMs);
  EXPECT_EQ(0u, device->Release());
  CloseHandle(held);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, BadSettings, ::testing::ValuesIn(Cases()),
    [](const ::testing::TestParamInfo<SettingsCase>& info) {
      return std::string(info.param.name);
    });

// ---------------------------------------------------------------------------
// A log that cannot be written.

TEST_F(BadFiles, LogThatIsAFolderLosesOnlyItsLines) {
  WriteSettingsText(Section("5", "5"));
  ASSERT_TRUE(CreateDirectoryA(dir_.File("MiraboRemote.log").c_str(), nullptr));
  EXPECT_GE(RunWithKeyHeld(), kUnpausedReadings);
}

TEST_F(BadFiles, LogHeldExclusivelyLosesOnlyTheLinesOfThatTime) {
  WriteSettingsText(Section("5", "5"));
  HostApplication host;
  KeyRecorder sink(card_);
  IRemoteDevice* device = StartWith(&sink, &host);
  ASSERT_NE(nullptr, device);
  std::string banner = LogWithLineFeeds();
  ASSERT_NE(std::string::npos, banner.find("> Initializing Tandor remote"));

  HANDLE held = CreateFileA(dir_.File("MiraboRemote.log").c_str(), GENERIC_READ,
                            0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  card_->PressKey(1);
  EXPECT_TRUE(sink.WaitForKeys(3, 3000)) << "keys while the log is held";
  card_->ReleaseKey();
  // A reading under way may still log key 1; the next one cannot.
  EXPECT_TRUE(WaitForTransactions(card_->TransactionCount() + 2));
  CloseHandle(held);
  size_t whileHeld = sink.size();
  card_->PressKey(2);
  EXPECT_TRUE(sink.WaitForKeys(whileHeld + 1, 3000));
  EXPECT_LT(TimedStop(device), kPromptStopMs);
  EXPECT_EQ(0u, device->Release());

  std::string log = LogWithLineFeeds();
  EXPECT_EQ(0u, log.find(banner)) << "the lines before are kept";
  EXPECT_EQ(std::string::npos, log.find("> Pressed key code 1\n"));
  EXPECT_NE(std::string::npos, log.find("> Pressed key code 2\n"));
  EXPECT_NE(std::string::npos, log.find("> Break event received. Bye!..\n"));
}

}  // namespace
