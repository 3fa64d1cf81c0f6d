// The log, message by message and byte by byte, as the C runtime's text
// mode wrote it before the plug-in had its own writer: CR LF line ends,
// messages appended to what the file holds, numbers and texts formatted as
// printf formats them, and messages lost without a word when the file
// cannot be written (and nothing else lost).
#include <limits.h>

#include "remote_fixture.h"

using namespace remotetest;

namespace {

using Log = PluginTest;

TEST_F(Log, NormalRunWritesEveryLineInOrder) {
  // Each key is released before the next.
  ASSERT_NO_FATAL_FAILURE(RunSession(Settings(500), {18, 10}));
  EXPECT_EQ(LogOf(kWin98, Settings(500),
                  {kFindWindowLine, "> Pressed key code 18",
                   "> Pressed key code 10", kLostWindowLine, kBreakLine}),
            LogText());
  std::vector<KeyEvent> keys = sink_.events();
  ASSERT_EQ(2u, keys.size());
  EXPECT_EQ("Key_Power", keys[0].name);
  EXPECT_EQ("Key_100", keys[1].name);
}

TEST_F(Log, LogThatCannotBeOpenedLosesMessagesSilently) {
  // A folder where the log file should be.
  ASSERT_TRUE(CreateDirectoryA(dir_.File("MiraboRemote.log").c_str(), nullptr));
  card_->PressKey(18);
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(5, 5)));
  // Readings go on unpaused: at least five keys in a second.
  Sleep(1000);
  EXPECT_GE(sink_.size(), 5u);
  StopPromptlyAndRelease(device_);
  ExpectHostObjectsHeld(1);
}

class LogFile : public PluginTest {
 protected:
  std::string LogPath() const { return dir_.File("MiraboRemote.log"); }

  // An object created, started, stopped at once and released: it appends
  // SessionBytes.
  void CreateStartStop(const Settings& settings) {
    ASSERT_NO_FATAL_FAILURE(StartNew(settings));
    StopAndRelease(device_);
  }
  static std::string SessionBytes(const Settings& settings) {
    return LogOf(kWin98, settings, {kBreakLine});
  }

  // Holds `code` until the sink has `keys` keys, then releases it.
  bool DeliverKey(int code, size_t keys) {
    card_->PressKey(code);
    bool delivered = sink_.WaitForKeys(keys);
    card_->ReleaseKey();
    return delivered;
  }
};

TEST_F(LogFile, NewFileHoldsExactlyTheMessagesWithCrLfLineEnds) {
  // printf's %d keeps the sign, INT_MIN too.
  Settings settings(-1, INT_MIN);
  ASSERT_NO_FATAL_FAILURE(CreateStartStop(settings));
  EXPECT_EQ(SessionBytes(settings), LogText());
}

TEST_F(LogFile, AppendsBehindWhatTheFileHolds) {
  const std::string earlier = "an earlier session\r\nits last line, unended";
  WriteText(LogPath(), earlier);
  ASSERT_NO_FATAL_FAILURE(CreateStartStop(Settings()));
  ASSERT_NO_FATAL_FAILURE(CreateStartStop(Settings()));
  EXPECT_EQ(earlier + SessionBytes(Settings()) + SessionBytes(Settings()),
            LogText());
}

// An old text file may end in CTRL-Z, the end-of-file mark of DOS editors.
// The runtime's append mode takes it away before the first write, so that
// the messages do not stand behind a mark where readers stop (Windows'
// msvcrt.dll does so; Wine's copy of it keeps the mark).
TEST_F(LogFile, EndOfFileMarkGoesBeforeTheFirstMessage) {
  WriteText(LogPath(), "an earlier session\r\n\x1A");
  ASSERT_NO_FATAL_FAILURE(CreateStartStop(Settings()));
  EXPECT_EQ("an earlier session\r\n" + SessionBytes(Settings()), LogText());
}

// Another program that opens the log without sharing it: the messages of
// that time are lost, the later ones are written again behind the earlier.
TEST_F(LogFile, MessagesWhileAnotherProgramHoldsTheFileAreLost) {
  ASSERT_NO_FATAL_FAILURE(StartNew());
  std::string before = LogText();
  HANDLE held =
      CreateFileA(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_TRUE(DeliverKey(18, 1));
  CloseHandle(held);
  EXPECT_TRUE(DeliverKey(10, 2));
  StopPromptlyAndRelease(device_);
  EXPECT_EQ(0u, LogText().find(before)) << LogText();
  EXPECT_FALSE(LogHas("> Pressed key code 18")) << LogText();
  EXPECT_TRUE(LogHas("> Pressed key code 10")) << LogText();
  EXPECT_TRUE(LogHas(kBreakLine)) << LogText();
}

}  // namespace
