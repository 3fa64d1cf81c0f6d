// The log, message by message, and the settings that every log call reads
// again.
#include "remote_fixture.h"

using namespace remotetest;
using namespace harness;

namespace {

class Log : public PluginTest {};

TEST_F(Log, NormalRunWritesEveryLineInOrder) {
  Settings settings;
  settings.keyFirstDelay = 500;  // each key is released before the next
  ASSERT_NO_FATAL_FAILURE(RunSession(settings, {18, 10}));

  std::string text = LogText();
  std::vector<std::string> expected = {
      "> Initializing Tandor remote module.",
      "> ------------------------------------------------------------------",
      "",
      "> KeyFirstDelay=500, KeyRepeatDelay=50",
      VersionLine("Microsoft Windows 98 or Millenium"),
      "> Loading tandorutl.dll ...   Ok!",
      "> Import finctions ...   Ok!",
      "> Find Mirabo Window. Sound is ON.",
      "> Pressed key code 18",
      "> Pressed key code 10",
      "> Lost Mirabo Window. Sound is OFF.",
      "> Break event received. Bye!.."};
  EXPECT_EQ(expected, SplitLogLines(text)) << text;
  // Text mode: every line ends in CR LF, the last one too.
  EXPECT_EQ("\r\n", text.substr(text.size() - 2));
  for (size_t at = text.find('\n'); at != std::string::npos;
       at = text.find('\n', at + 1))
    ASSERT_EQ('\r', text[at - 1]) << "bare line feed at " << at;
  std::vector<KeyEvent> keys = sink_.events();
  ASSERT_EQ(2u, keys.size());
  EXPECT_EQ("Key_Power", keys[0].name);
  EXPECT_EQ("Key_100", keys[1].name);
}

TEST_F(Log, LogThatCannotBeOpenedLosesMessagesSilently) {
  WriteSettings(Settings());
  // A folder where the log file should be.
  ASSERT_TRUE(CreateDirectoryA(dir_.File("MiraboRemote.log").c_str(), nullptr));
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  ASSERT_EQ(S_OK, device->Start(&sink_, &host_));
  card_->PressKey(18);
  EXPECT_TRUE(sink_.WaitForKeys(1));
  StopAndRelease(device);
}

class SettingsFile : public PluginTest {
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
  // settings file with `after` while the key is held, and returns the
  // pauses after the readings that followed the edit.
  std::vector<int64_t> PausesAfterEdit(const Settings& before,
                                       const std::string& after) {
    const int kCode = 27;
    IRemoteDevice* device = StartNew(before);
    if (!device) return {};
    EXPECT_TRUE(HoldKeyForReadings(kCode, 3));
    WriteSettingsText(after);
    int64_t editedUs = card_->NowUs();
    EXPECT_TRUE(HoldKeyForReadings(kCode, ReadingsOf(kCode) + 3));
    StopAndRelease(device);
    std::vector<int64_t> pauses;
    std::vector<SimKeyRead> reads = KeyReads();
    for (size_t i = 1; i < reads.size(); ++i)
      if (reads[i - 1].timeUs > editedUs && reads[i - 1].code == kCode)
        pauses.push_back(reads[i].timeUs - reads[i - 1].timeUs);
    return pauses;
  }
};

// The first reading after an edit logs its code, which reads the file: the
// pause after that very reading already follows the edit.
TEST_F(SettingsFile, ChangedRepeatDelayPacesTheReadingThatReadIt) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 40;
  Settings changed = settings;
  changed.keyRepeatDelay = 250;
  std::vector<int64_t> pauses =
      PausesAfterEdit(settings, SettingsText(changed));
  ASSERT_GE(pauses.size(), 2u);
  for (int64_t pause : pauses) EXPECT_GE(pause, 250000 - kSlackUs);
}

TEST_F(SettingsFile, DeletedDelayKeyKeepsTheLastValueRead) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 300;
  std::vector<int64_t> pauses = PausesAfterEdit(
      settings, SettingsSection("KeyFirstDelay=60\r\nLeaveSoundOnExit=0\r\n"
                                "UseAcorpCompMode=0\r\nUseLog=1\r\n"));
  // Not the 100 ms that a missing key gives before any value was read.
  ASSERT_GE(pauses.size(), 2u);
  for (int64_t pause : pauses) EXPECT_GE(pause, 300000 - kSlackUs);
}

TEST_F(SettingsFile, UseLogOtherThanOneWritesNoLogYetSettingsApply) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 40;
  settings.useLog = 2;
  Settings changed = settings;
  changed.keyRepeatDelay = 250;
  changed.useLog = 0;
  std::vector<int64_t> pauses =
      PausesAfterEdit(settings, SettingsText(changed));
  ASSERT_GE(pauses.size(), 2u);
  for (int64_t pause : pauses) EXPECT_GE(pause, 250000 - kSlackUs);
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  EXPECT_EQ(ReadingsOf(27), sink_.size());
}

TEST_F(SettingsFile, NegativeDelaysMeanNoPause) {
  Settings settings;
  settings.keyFirstDelay = -1;
  settings.keyRepeatDelay = -5;
  IRemoteDevice* device = StartNew(settings);
  ASSERT_NE(nullptr, device);
  // A pause of "-1" taken as an unsigned time would never end.
  EXPECT_TRUE(HoldKeyForReadings(9, 5));
  DWORD start = GetTickCount();
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(0u, device->Release());
  EXPECT_TRUE(LogHas("> KeyFirstDelay=-1, KeyRepeatDelay=-5"));
}

TEST_F(SettingsFile, WithoutSettingsFileTheDefaultsApply) {
  // A new process: the settings are process-wide and keep what they read.
  ProcessResult child = RunChildTest("Child.CreatesAndReleases", dir_.path());
  ASSERT_EQ(0u, child.exitCode) << child.output;
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u) << LogText();
  EXPECT_EQ("> KeyFirstDelay=1000, KeyRepeatDelay=100", lines[3]);
}

}  // namespace
