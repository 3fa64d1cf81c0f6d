// The log, message by message, and the settings that every log call reads
// again.
#include "remote_fixture.h"

using namespace remotetest;
using namespace testsupport;

namespace {

class RemoteLog : public PluginTest {};

// The version line as this program's Windows version gives it.
std::string Windows98VersionLine() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  char line[256];
  snprintf(line, sizeof line,
           "> Windows Version - Microsoft Windows 98 or Millenium version "
           "%lu.%lu %s (Build %lu)",
           version.dwMajorVersion, version.dwMinorVersion, version.szCSDVersion,
           version.dwBuildNumber & 0xFFFF);
  return line;
}

TEST_F(RemoteLog, NormalRunWritesEveryLineInOrder) {
  Settings settings;
  settings.keyFirstDelay = 300;
  WriteSettings(settings);
  std::unique_ptr<HostWindow> window(new HostWindow);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  ASSERT_TRUE(WaitForSoundWrites(1));
  // Each key is released before the next reading, 300 ms on.
  sim().PressKey(18);
  ASSERT_TRUE(sink.WaitForKeys(1));
  sim().ReleaseKey();
  sim().PressKey(10);
  ASSERT_TRUE(sink.WaitForKeys(2));
  sim().ReleaseKey();
  window.reset();
  ASSERT_TRUE(WaitForSoundWrites(5));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());

  std::string text = LogText();
  std::vector<std::string> expected = {
      "> Initializing Tandor remote module.",
      "> ------------------------------------------------------------------",
      "",
      "> KeyFirstDelay=300, KeyRepeatDelay=50",
      Windows98VersionLine(),
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
  std::vector<KeyEvent> keys = sink.events();
  ASSERT_EQ(2u, keys.size());
  EXPECT_EQ("Key_Power", keys[0].name);
  EXPECT_EQ("Key_100", keys[1].name);
}

TEST_F(RemoteLog, LogThatCannotBeOpenedLosesMessagesSilently) {
  WriteSettings(Settings());
  // A folder where the log file should be.
  ASSERT_TRUE(CreateDirectoryA(dir_.File("MiraboRemote.log").c_str(), nullptr));
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  sim().PressKey(18);
  EXPECT_TRUE(sink.WaitForKeys(1));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
}

class RemoteSettings : public PluginTest {
 protected:
  // Holds `code` and waits until the card has seen `count` readings of it.
  bool HoldKeyForReadings(int code, size_t count) {
    sim().PressKey(code);
    return WaitUntil([&] { return ReadingsOf(code) >= count; }, 5000);
  }
  size_t ReadingsOf(int code) const {
    size_t count = 0;
    for (const SimKeyRead& read : KeyReads()) count += read.code == code;
    return count;
  }
  // The pauses after the readings of `code` that came after `sinceUs`.
  std::vector<int64_t> GapsAfter(int code, int64_t sinceUs) const {
    std::vector<int64_t> gaps;
    std::vector<SimKeyRead> reads = KeyReads();
    for (size_t i = 1; i < reads.size(); ++i)
      if (reads[i - 1].timeUs > sinceUs && reads[i - 1].code == code)
        gaps.push_back(reads[i].timeUs - reads[i - 1].timeUs);
    return gaps;
  }
};

TEST_F(RemoteSettings, ChangedRepeatDelayPacesTheReadingThatReadIt) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 40;
  WriteSettings(settings);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  ASSERT_EQ(S_OK, device->Start(nullptr, &host));
  ASSERT_TRUE(HoldKeyForReadings(27, 3));
  settings.keyRepeatDelay = 250;
  WriteSettings(settings);
  int64_t changedUs = sim().NowUs();
  ASSERT_TRUE(HoldKeyForReadings(27, ReadingsOf(27) + 3));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
  // The first reading after the change logs its code, which reads the file:
  // the pause after that very reading is the new one.
  std::vector<int64_t> gaps = GapsAfter(27, changedUs);
  ASSERT_GE(gaps.size(), 2u);
  for (int64_t gap : gaps) EXPECT_GE(gap, 250000 - kSlackUs);
}

TEST_F(RemoteSettings, DeletedDelayKeyKeepsTheLastValueRead) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 300;
  WriteSettings(settings);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  ASSERT_EQ(S_OK, device->Start(nullptr, &host));
  ASSERT_TRUE(HoldKeyForReadings(27, 2));
  WriteSettingsText(
      "[MiraboRemote]\r\nKeyFirstDelay=60\r\nLeaveSoundOnExit=0\r\n"
      "UseAcorpCompMode=0\r\nUseLog=1\r\n");
  int64_t deletedUs = sim().NowUs();
  ASSERT_TRUE(HoldKeyForReadings(27, ReadingsOf(27) + 3));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
  // Not the 100 ms that a missing key gives before any value was read.
  std::vector<int64_t> gaps = GapsAfter(27, deletedUs);
  ASSERT_GE(gaps.size(), 2u);
  for (int64_t gap : gaps) EXPECT_GE(gap, 300000 - kSlackUs);
}

TEST_F(RemoteSettings, UseLogOtherThanOneWritesNoLogYetSettingsApply) {
  Settings settings;
  settings.keyFirstDelay = 60;
  settings.keyRepeatDelay = 40;
  settings.useLog = 2;
  WriteSettings(settings);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  ASSERT_TRUE(HoldKeyForReadings(27, 3));
  settings.keyRepeatDelay = 250;
  settings.useLog = 0;
  WriteSettings(settings);
  int64_t changedUs = sim().NowUs();
  ASSERT_TRUE(HoldKeyForReadings(27, ReadingsOf(27) + 3));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  EXPECT_EQ(ReadingsOf(27), sink.size());
  std::vector<int64_t> gaps = GapsAfter(27, changedUs);
  ASSERT_GE(gaps.size(), 2u);
  for (int64_t gap : gaps) EXPECT_GE(gap, 250000 - kSlackUs);
}

TEST_F(RemoteSettings, NegativeDelaysMeanNoPause) {
  Settings settings;
  settings.keyFirstDelay = -1;
  settings.keyRepeatDelay = -5;
  WriteSettings(settings);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  // A pause of "-1" taken as an unsigned time would never end.
  EXPECT_TRUE(HoldKeyForReadings(9, 5));
  DWORD start = GetTickCount();
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(0u, device->Release());
  EXPECT_TRUE(LogHas("> KeyFirstDelay=-1, KeyRepeatDelay=-5"));
}

TEST_F(RemoteSettings, WithoutSettingsFileTheDefaultsApply) {
  // A new process: the settings are process-wide and keep what they read.
  ProcessResult child =
      RunChildTest("RemoteChild.CreatesAndReleases", dir_.path());
  ASSERT_EQ(0u, child.exitCode) << child.output;
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u) << LogText();
  EXPECT_EQ("> KeyFirstDelay=1000, KeyRepeatDelay=100", lines[3]);
}

}  // namespace
