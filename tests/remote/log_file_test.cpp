// The log file byte by byte, as the C runtime's text mode wrote it before
// the plug-in had its own writer: CR LF line ends, messages appended to
// what the file holds, numbers and texts formatted as printf formats them,
// and messages lost without a word when the file cannot be written.
#include <limits.h>

#include "remote_fixture.h"

using namespace remotetest;
using namespace harness;

namespace {

class LogFile : public PluginTest {
 protected:
  std::string LogPath() const { return dir_.File("MiraboRemote.log"); }

  // An object created, started, stopped at once and released: the banner,
  // the version line, the binding's two lines and the closing line.
  void CreateStartStop(const Settings& settings) {
    IRemoteDevice* device = StartNew(settings);
    ASSERT_NE(nullptr, device);
    StopAndRelease(device);
  }

  // The bytes that CreateStartStop appends.
  static std::string SessionBytes(const Settings& settings) {
    return "> Initializing Tandor remote module.\r\n"
           "> ------------------------------------------------------------"
           "------\r\n\r\n"
           "> KeyFirstDelay=" +
           std::to_string(settings.keyFirstDelay) +
           ", KeyRepeatDelay=" + std::to_string(settings.keyRepeatDelay) +
           "\r\n" + VersionLine("Microsoft Windows 98 or Millenium") +
           "\r\n"
           "> Loading tandorutl.dll ...   Ok!\r\n"
           "> Import finctions ...   Ok!\r\n"
           "> Break event received. Bye!..\r\n";
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
  Settings settings;
  settings.keyFirstDelay = -1;  // printf's %d keeps the sign, INT_MIN too
  settings.keyRepeatDelay = INT_MIN;
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
// that time are lost, the later ones are written again.
TEST_F(LogFile, MessagesWhileAnotherProgramHoldsTheFileAreLost) {
  IRemoteDevice* device = StartNew();
  ASSERT_NE(nullptr, device);
  HANDLE held =
      CreateFileA(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_TRUE(DeliverKey(18, 1));
  CloseHandle(held);
  EXPECT_TRUE(DeliverKey(10, 2));
  StopAndRelease(device);
  EXPECT_FALSE(LogHas("> Pressed key code 18")) << LogText();
  EXPECT_TRUE(LogHas("> Pressed key code 10")) << LogText();
  EXPECT_TRUE(LogHas("> Break event received. Bye!..")) << LogText();
}

}  // namespace
