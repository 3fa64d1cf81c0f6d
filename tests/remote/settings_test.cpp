// The settings file: values that every log call reads again, and bad files.
// Whatever the file holds, the plug-in takes the values as the profile
// reader gives them (the banner's delay line shows them unchanged), a
// negative delay pauses the polling loop 0 ms instead of about 49 days,
// nothing else is clamped, a held key is still delivered and Stop returns
// at once.
#include <stdio.h>

#include <random>

#include "remote_fixture.h"

using namespace remotetest;

namespace {

const int kHeldCode = 18;  // Key_Power
const DWORD kWatchMs = 1000;
const size_t kUnpausedReadings = 5;  // at the least, in kWatchMs

class SettingsTest : public PluginTest {
 protected:
  // Holds `code` and waits until the card has seen `count` readings of it.
  bool HoldKeyForReadings(int code, size_t count) {
    card_->PressKey(code);
    return WaitUntil([&] { return ReadingsOf(code) >= count; }, 5000);
  }
  size_t ReadingsOf(int code) const {
    size_t count = 0;
    for (const SimKeyRead& read : KeyReads()) count += read.code == code;
    return count;
  }
  // Holds a key through a few readings under `before`, replaces the
  // settings file with `after` while the key is held, and checks that each
  // pause after the readings that followed the edit (two at least) lasted
  // `ms` or more.
  void ExpectPausesAfterEdit(const Settings& before, const std::string& after,
                             int ms) {
    const int kCode = 27;
    ASSERT_NO_FATAL_FAILURE(StartNew(before));
    EXPECT_TRUE(HoldKeyForReadings(kCode, 3));
    WriteSettings(after);
    int64_t editedUs = card_->NowUs();
    EXPECT_TRUE(HoldKeyForReadings(kCode, ReadingsOf(kCode) + 3));
    StopAndRelease(device_);
    std::vector<SimKeyRead> reads = KeyReads();
    size_t pauses = 0;
    for (size_t i = 1; i < reads.size(); ++i) {
      if (reads[i - 1].timeUs <= editedUs || reads[i - 1].code != kCode)
        continue;
      ++pauses;
      EXPECT_GE(reads[i].timeUs - reads[i - 1].timeUs, ms * 1000 - kSlackUs);
    }
    EXPECT_GE(pauses, 2u);
  }

  // Runs the plug-in with a key held for kWatchMs and returns the number of
  // deliveries by then; checks that Stop is prompt and gives everything
  // back.
  size_t RunWithKeyHeld() {
    card_->PressKey(kHeldCode);
    StartWith(&sink_, &host_);
    if (HasFatalFailure()) return 0;
    Sleep(kWatchMs);
    size_t delivered = sink_.size();
    StopPromptlyAndRelease(device_);
    ExpectHostObjectsHeld(1);
    for (const KeyEvent& delivery : sink_.events())
      EXPECT_EQ("Key_Power", delivery.name);
    return delivered;
  }
};

using SettingsFile = SettingsTest;

// The first reading after an edit logs its code, which reads the file: the
// pause after that very reading already follows the edit.
TEST_F(SettingsFile, ChangedRepeatDelayPacesTheReadingThatReadIt) {
  ExpectPausesAfterEdit(Settings(60, 40), SettingsText(Settings(60, 250)), 250);
}

// Not the 100 ms that a missing key gives before any value was read.
TEST_F(SettingsFile, DeletedDelayKeyKeepsTheLastValueRead) {
  ExpectPausesAfterEdit(
      Settings(60, 300),
      SettingsSection("KeyFirstDelay=60\r\nLeaveSoundOnExit=0\r\n"
                      "UseAcorpCompMode=0\r\nUseLog=1\r\n"),
      300);
}

TEST_F(SettingsFile, UseLogOtherThanOneWritesNoLogYetSettingsApply) {
  Settings settings(60, 40);
  settings.useLog = 2;
  Settings changed(60, 250);
  changed.useLog = 0;
  ExpectPausesAfterEdit(settings, SettingsText(changed), 250);
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  EXPECT_EQ(ReadingsOf(27), sink_.size());
}

TEST_F(SettingsFile, WithoutSettingsFileTheDefaultsApply) {
  ASSERT_TRUE(DeleteFileA(dir_.File("mirabo.ini").c_str()));
  // A new process: the settings are process-wide and keep what they read.
  ProcessResult child = RunChildTest("Child.CreatesAndReleases", dir_.path());
  ASSERT_EQ(0u, child.exitCode) << child.output;
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u) << LogText();
  EXPECT_EQ("> KeyFirstDelay=1000, KeyRepeatDelay=100", lines[3]);
}

struct SettingsCase {
  const char* name;
  std::string text;
  // Deliveries within kWatchMs of the start: at least `fewest`, and at most
  // `most` (0: no bound).
  size_t fewest;
  size_t most;
};

void PrintTo(const SettingsCase& bad, std::ostream* out) {
  *out << bad.name;
}

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
  return BannerLines(first, repeat).back();
}

class BadSettings : public SettingsTest,
                    public ::testing::WithParamInterface<SettingsCase> {};

// Negative delays are also what the log's delay line says they are.
TEST_P(BadSettings, TakenAsReadWithoutStoppingThePlugin) {
  const SettingsCase& bad = GetParam();
  WriteSettings(bad.text);
  std::string delayLine = ExpectedDelayLine();
  size_t delivered = RunWithKeyHeld();
  printf("%s: \"%s\", %zu keys in %lu ms\n", bad.name, delayLine.c_str(),
         delivered, static_cast<unsigned long>(kWatchMs));
  EXPECT_GE(delivered, bad.fewest);
  if (bad.most) {
    EXPECT_LE(delivered, bad.most);
  }
  EXPECT_TRUE(LogHas(delayLine)) << LogText();
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, BadSettings, ::testing::ValuesIn(Cases()),
    [](const ::testing::TestParamInfo<SettingsCase>& info) {
      return std::string(info.param.name);
    });

using BadFiles = SettingsTest;

TEST_F(BadFiles, FileHeldExclusivelyKeepsTheDelaysInForce) {
  WriteSettings(Section("5", "5"));
  HANDLE held = CreateFileA(dir_.File("mirabo.ini").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  // Unreadable from the start: the delays in force before any read.
  std::string delayLine = ExpectedDelayLine();
  EXPECT_EQ("> KeyFirstDelay=1000, KeyRepeatDelay=100", delayLine);
  EXPECT_GE(RunWithKeyHeld(), 1u);
  CloseHandle(held);
  EXPECT_TRUE(LogHas(delayLine)) << LogText();
}

TEST_F(BadFiles, FileHeldExclusivelyLaterKeepsTheLastValuesRead) {
  WriteSettings(Section("5", "5"));
  card_->PressKey(kHeldCode);
  ASSERT_NO_FATAL_FAILURE(StartWith(&sink_, &host_));
  EXPECT_TRUE(sink_.WaitForKeys(2));
  HANDLE held = CreateFileA(dir_.File("mirabo.ini").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, held);
  size_t before = sink_.size();
  // Still 5 ms apart, not 1000 or 100: a locked file is a missing key.
  EXPECT_TRUE(sink_.WaitForKeys(before + kUnpausedReadings, 1000));
  StopPromptlyAndRelease(device_);
  CloseHandle(held);
}

}  // namespace
