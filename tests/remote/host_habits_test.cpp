// Hosts as the applications of their day behave. Their key sink hands each
// key to the main window with SendMessage, so that it is handled on the
// window's thread, and the window procedure does what the key asks: on
// Power it stops the remote and releases it, while the plug-in's worker
// still waits inside OnKey for that very procedure. Their file dialogs move
// the current directory while the plug-in runs.
#include "remote_fixture.h"

#include <mutex>
#include <utility>

using namespace remotetest;

namespace {

const UINT kKeyMessage = WM_APP + 1;
// 1 s before a Stop that waited for the worker would give up: an event that
// follows OnKey's start by less than this did not wait for the worker, on
// however slow a machine.
const double kLimitNearlyOutMs = 4000;

// The host's main window, with a procedure of the host's that handles the
// keys its sink sends, and the events of both threads in the order they
// happened.
class SendingHost {
 public:
  SendingHost() : window_(FindWindowA(kHostWindowClass, kHostWindowTitle)) {
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
  ~SendingHost() {
    if (previous_)
      SetWindowLongPtrA(window_, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(previous_));
  }
  bool ready() const { return previous_ != nullptr; }

  // The sink's OnKey, on the worker: the key goes to the window.
  void SendKey() {
    Note("OnKey entered");
    SendMessageA(window_, kKeyMessage, 0, 0);
    Note("OnKey returned");
  }

  void Note(const std::string& event) {
    std::lock_guard<std::mutex> hold(lock_);
    events_.emplace_back(event, NowMs());
  }
  // Where `event` stands among the events; -1 when it never happened.
  int Order(const std::string& event) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (size_t i = 0; i < events_.size(); ++i)
      if (events_[i].first == event) return static_cast<int>(i);
    return -1;
  }
  bool WaitFor(const std::string& event) const {
    return WaitUntil([&] { return Order(event) >= 0; }, 3000);
  }
  // How long after OnKey was entered `event` happened, in ms; an event
  // that never happened comes too late.
  double MsFromOnKey(const std::string& event) const {
    int entered = Order("OnKey entered"), at = Order(event);
    std::lock_guard<std::mutex> hold(lock_);
    if (entered < 0 || at < 0) return 1e9;
    return events_[at].second - events_[entered].second;
  }

  // What the window procedure does with a key, on the window's thread.
  std::function<void()> onKey;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    auto* host = reinterpret_cast<SendingHost*>(
        GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kKeyMessage) {
      host->Note("key handled");
      if (host->onKey) host->onKey();
      return 0;
    }
    return CallWindowProcA(host->previous_, window, message, wParam, lParam);
  }

  HWND window_;
  WNDPROC previous_ = nullptr;
  mutable std::mutex lock_;
  std::vector<std::pair<std::string, double>> events_;  // and when, in ms
};

class HostHabits : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_TRUE(window_.created());
    ASSERT_TRUE(host_window_.ready());
    sink_.onKey = [this] { host_window_.SendKey(); };
  }

  // Starts an object whose worker finds the key already down.
  void StartWithKeyDown() {
    card_->PressKey(18);
    StartNew();
  }
  // The back end's library, whichever this Windows uses, is unloaded.
  static bool BackEndReleased() {
    return !GetModuleHandleA("tandorutl.dll") &&
           !GetModuleHandleA("wdmI2cDll.dll");
  }
  int Order(const std::string& event) const {
    return host_window_.Order(event);
  }
  // The host's thread stops the object while the worker is in OnKey: Stop
  // returns after OnKey, with the host objects given back.
  void StopWhileInOnKey() {
    ASSERT_TRUE(host_window_.WaitFor("OnKey entered"));
    EXPECT_EQ(S_OK, device_->Stop());
    host_window_.Note("Stop returned");
    EXPECT_LT(Order("OnKey returned"), Order("Stop returned"));
    ExpectHostObjectsHeld(1);
  }

  HostWindow window_;
  SendingHost host_window_;
};

// Power closes the application from the window procedure: Stop and the last
// Release come while the worker waits in OnKey for that procedure. Neither
// may wait for it; the worker completes the stop once OnKey returns.
TEST_F(HostHabits, PowerClosesFromTheWindowProcedureWithoutAWait) {
  ASSERT_NO_FATAL_FAILURE(StartWithKeyDown());
  host_window_.onKey = [&] {
    EXPECT_EQ(S_OK, device_->Stop());
    host_window_.Note("Stop returned");
    EXPECT_EQ(0u, device_->Release());
    host_window_.Note("Release returned");
  };
  // The host's message loop.
  ASSERT_TRUE(WaitUntil(
      [&] {
        PumpMessages();
        return Order("Release returned") >= 0;
      },
      10000));
  ASSERT_TRUE(WaitForHostObjectsBack(5000))
      << "host " << host_.count() << ", sink " << sink_.count();

  EXPECT_LT(Order("OnKey entered"), Order("Stop returned"));
  EXPECT_LT(Order("Release returned"), Order("OnKey returned"));
  EXPECT_LT(host_window_.MsFromOnKey("Release returned"), kLimitNearlyOutMs)
      << "Stop or Release waited for the worker";
  // The worker's exit steps: the sound off while the window is open, the
  // last log line, the back end released.
  EXPECT_TRUE(WaitUntil([&] { return BackEndReleased(); }, 3000));
  EXPECT_EQ(kBreakLine, LogLines().back());
  ExpectSoundOnThenOff(SoundWrites(), 1);
  EXPECT_EQ(1u, sink_.size()) << "a key after the stop";
}

// The host's thread stops the remote (the user closes the window with the
// mouse) just while OnKey sends it a key: Stop answers the key while it
// waits, the worker ends, and Stop completes the stop itself.
TEST_F(HostHabits, StopAnswersTheKeyItsWorkerSendsWhileItWaits) {
  ASSERT_NO_FATAL_FAILURE(StartWithKeyDown());
  ASSERT_NO_FATAL_FAILURE(StopWhileInOnKey());

  EXPECT_LT(host_window_.MsFromOnKey("Stop returned"), kLimitNearlyOutMs)
      << "the worker's key was answered only when the wait gave up";
  EXPECT_LT(Order("key handled"), Order("OnKey returned"));
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_TRUE(BackEndReleased());
  EXPECT_EQ(0u, device_->Release());
}

// An OnKey that is merely slow, sending nothing, still has Stop wait for it.
TEST_F(HostHabits, AMerelySlowOnKeyIsWaitedFor) {
  sink_.onKey = [this] {
    host_window_.Note("OnKey entered");
    Sleep(1500);
    host_window_.Note("OnKey returned");
  };
  ASSERT_NO_FATAL_FAILURE(StartWithKeyDown());
  ASSERT_NO_FATAL_FAILURE(StopWhileInOnKey());
  EXPECT_EQ(0u, device_->Release());
}

// A key answered during Stop's wait whose handling stops the remote again
// and makes its last Release: nothing is freed under the waiting Stop, and
// the stop happens once.
TEST_F(HostHabits, ALastReleaseAnsweredDuringTheWaitStopsOnce) {
  ASSERT_NO_FATAL_FAILURE(StartWithKeyDown());
  ULONG released = 99;
  host_window_.onKey = [&] {
    EXPECT_EQ(S_OK, device_->Stop());
    released = device_->Release();
  };
  // The host's own reference goes below this Stop.
  ASSERT_NO_FATAL_FAILURE(StopWhileInOnKey());

  EXPECT_EQ(0u, released);
  EXPECT_EQ(1u, LogCount(kBreakLine));
  // Not switched off more than once.
  ExpectSoundOnThenOff(SoundWrites(), 1);
  EXPECT_TRUE(BackEndReleased());
}

// A file dialog moves the current directory after Start: the log and the
// settings stay those of the folder the plug-in started in.
TEST_F(HostHabits, ASavedFileMovesNeitherTheLogNorTheSettings) {
  Settings settings;
  settings.useLog = 0;
  settings.leaveSoundOnExit = 1;
  ASSERT_NO_FATAL_FAILURE(StartNew(settings));
  sink_.onKey = nullptr;
  TempDir pictures;
  {
    CurrentDir browsed(pictures.path());
    card_->PressKey(18);
    ASSERT_TRUE(sink_.WaitForKeys(2));
    StopAndRelease(device_);
  }
  EXPECT_FALSE(FileExists(pictures.File("MiraboRemote.log")))
      << "a log in the folder the user browsed to";
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  // LeaveSoundOnExit=1 of the start folder stayed in force: the window is
  // open, so the sound was left on.
  ExpectSoundOnThenOff(SoundWrites(), 0);
}

TEST_F(HostHabits, TheLogGoesOnInTheFolderOfStart) {
  sink_.onKey = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartNew());
  TempDir pictures;
  CurrentDir browsed(pictures.path());
  card_->PressKey(18);
  ASSERT_TRUE(WaitForLogLine("> Pressed key code 18"));
  StopAndRelease(device_);
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_FALSE(FileExists(pictures.File("MiraboRemote.log")));
}

}  // namespace
