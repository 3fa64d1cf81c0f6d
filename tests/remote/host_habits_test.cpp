// Hosts as the applications of their day behave. Their key sink hands each
// key to the main window with SendMessage, so that it is handled on the
// window's thread, and the window procedure does what the key asks: on
// Power it stops the remote and releases it, while the plug-in's worker
// still waits inside OnKey for that very procedure. Their file dialogs move
// the current directory while the plug-in runs.
#include "remote_fixture.h"

#include <algorithm>
#include <memory>
#include <mutex>

using namespace remotetest;

namespace {

const UINT kKeyMessage = WM_APP + 1;

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
    SetEvent(keyEntered_.get());
    SendMessageA(window_, kKeyMessage, 0, 0);
    Note("OnKey returned");
  }
  bool WaitKeyEntered() {
    return WaitForSingleObject(keyEntered_.get(), 3000) == WAIT_OBJECT_0;
  }

  void Note(const std::string& event) {
    std::lock_guard<std::mutex> hold(lock_);
    events_.push_back(event);
  }
  // Where `event` stands among the events; -1 when it never happened.
  int Order(const std::string& event) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (size_t i = 0; i < events_.size(); ++i)
      if (events_[i] == event) return static_cast<int>(i);
    return -1;
  }

  // The host's message loop, until `done` or the time is up.
  bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > timeoutMs) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      PumpMessages();
    }
    return true;
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
  std::unique_ptr<void, decltype(&CloseHandle)> keyEntered_{
      CreateEventA(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
  mutable std::mutex lock_;
  std::vector<std::string> events_;
};

// Notes "limit nearly out" 4 s after OnKey is entered, 1 s before a Stop
// that waited for the worker would give up: a Stop that returns before this
// note did not wait, on however slow a machine.
class LimitMarker {
 public:
  explicit LimitMarker(SendingHost& host) : host_(host) {
    thread_ = CreateThread(nullptr, 0, &Mark, this, 0, nullptr);
  }
  ~LimitMarker() {
    SetEvent(done_.get());
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI Mark(LPVOID self) {
    auto* marker = static_cast<LimitMarker*>(self);
    if (!marker->host_.WaitKeyEntered()) return 0;
    if (WaitForSingleObject(marker->done_.get(), 4000) == WAIT_TIMEOUT)
      marker->host_.Note("limit nearly out");
    return 0;
  }

  SendingHost& host_;
  std::unique_ptr<void, decltype(&CloseHandle)> done_{
      CreateEventA(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
  HANDLE thread_;
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
  IRemoteDevice* StartWithKeyDown() {
    card_->PressKey(18);
    return StartNew(Settings(100, 50));
  }
  // The back end's library, whichever this Windows uses, is unloaded.
  static bool BackEndReleased() {
    return !GetModuleHandleA("tandorutl.dll") &&
           !GetModuleHandleA("wdmI2cDll.dll");
  }
  // `event` happened, before `later` if that happened at all.
  bool HappenedBefore(const std::string& event, const std::string& later) {
    int at = host_window_.Order(event);
    int laterAt = host_window_.Order(later);
    return at >= 0 && (laterAt < 0 || at < laterAt);
  }
  int BreakLines() const {
    std::vector<std::string> lines = LogLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), kBreakLine));
  }

  HostWindow window_;
  SendingHost host_window_;
};

// Power closes the application from the window procedure: Stop and the last
// Release come while the worker waits in OnKey for that procedure. Neither
// may wait for it; the worker completes the stop once OnKey returns.
TEST_F(HostHabits, PowerClosesFromTheWindowProcedureWithoutAWait) {
  LimitMarker marker(host_window_);
  IRemoteDevice* device = StartWithKeyDown();
  ASSERT_NE(nullptr, device);
  host_window_.onKey = [&] {
    EXPECT_EQ(S_OK, device->Stop());
    host_window_.Note("Stop returned");
    EXPECT_EQ(0u, device->Release());
    host_window_.Note("Release returned");
  };
  ASSERT_TRUE(host_window_.RunUntil(
      [&] { return host_window_.Order("Release returned") >= 0; }, 10000));
  ASSERT_TRUE(WaitForHostObjectsBack(5000))
      << "host " << host_.count() << ", sink " << sink_.count();

  EXPECT_LT(host_window_.Order("OnKey entered"),
            host_window_.Order("Stop returned"));
  EXPECT_LT(host_window_.Order("Release returned"),
            host_window_.Order("OnKey returned"));
  EXPECT_TRUE(HappenedBefore("Release returned", "limit nearly out"))
      << "Stop or Release waited for the worker";
  // The worker's exit steps: the sound off while the window is open, the
  // last log line, the back end released.
  EXPECT_TRUE(WaitUntil([&] { return BackEndReleased(); }, 3000));
  EXPECT_EQ(kBreakLine, LogLines().back());
  ExpectSoundOnThenOff(1);
  EXPECT_EQ(1u, sink_.size()) << "a key after the stop";
}

// The host's thread stops the remote (the user closes the window with the
// mouse) just while OnKey sends it a key: Stop answers the key while it
// waits, the worker ends, and Stop completes the stop itself.
TEST_F(HostHabits, StopAnswersTheKeyItsWorkerSendsWhileItWaits) {
  LimitMarker marker(host_window_);
  IRemoteDevice* device = StartWithKeyDown();
  ASSERT_NE(nullptr, device);
  ASSERT_TRUE(host_window_.WaitKeyEntered());
  EXPECT_EQ(S_OK, device->Stop());
  host_window_.Note("Stop returned");

  EXPECT_TRUE(HappenedBefore("Stop returned", "limit nearly out"))
      << "the worker's key was answered only when the wait gave up";
  EXPECT_LT(host_window_.Order("key handled"),
            host_window_.Order("OnKey returned"));
  EXPECT_LT(host_window_.Order("OnKey returned"),
            host_window_.Order("Stop returned"));
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_TRUE(BackEndReleased());
  EXPECT_EQ(0u, device->Release());
}

// An OnKey that is merely slow, sending nothing, still has Stop wait for it.
TEST_F(HostHabits, AMerelySlowOnKeyIsWaitedFor) {
  sink_.onKey = [this] {
    host_window_.Note("OnKey entered");
    Sleep(1500);
    host_window_.Note("OnKey returned");
  };
  IRemoteDevice* device = StartWithKeyDown();
  ASSERT_NE(nullptr, device);
  ASSERT_TRUE(WaitUntil(
      [&] { return host_window_.Order("OnKey entered") >= 0; }, 3000));
  EXPECT_EQ(S_OK, device->Stop());
  host_window_.Note("Stop returned");

  EXPECT_LT(host_window_.Order("OnKey returned"),
            host_window_.Order("Stop returned"));
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(0u, device->Release());
}

// A key answered during Stop's wait whose handling stops the remote again
// and makes its last Release: nothing is freed under the waiting Stop, and
// the stop happens once.
TEST_F(HostHabits, ALastReleaseAnsweredDuringTheWaitStopsOnce) {
  IRemoteDevice* device = StartWithKeyDown();
  ASSERT_NE(nullptr, device);
  ULONG released = 99;
  host_window_.onKey = [&] {
    EXPECT_EQ(S_OK, device->Stop());
    released = device->Release();
  };
  ASSERT_TRUE(host_window_.WaitKeyEntered());
  EXPECT_EQ(S_OK, device->Stop());  // the host's own reference goes below
  host_window_.Note("Stop returned");

  EXPECT_EQ(0u, released);
  EXPECT_LT(host_window_.Order("OnKey returned"),
            host_window_.Order("Stop returned"));
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(1, BreakLines());
  // Not switched off more than once.
  ExpectSoundOnThenOff(1);
  EXPECT_TRUE(BackEndReleased());
}

// A file dialog moves the current directory after Start: the log and the
// settings stay those of the folder the plug-in started in.
TEST_F(HostHabits, ASavedFileMovesNeitherTheLogNorTheSettings) {
  Settings settings(100, 50);
  settings.useLog = 0;
  settings.leaveSoundOnExit = 1;
  WriteSettings(settings);
  IRemoteDevice* device = StartWith(&sink_, &host_);
  ASSERT_NE(nullptr, device);
  sink_.onKey = nullptr;
  TempDir pictures;
  {
    CurrentDir browsed(pictures.path());
    card_->PressKey(18);
    ASSERT_TRUE(sink_.WaitForKeys(2));
    StopAndRelease(device);
  }
  EXPECT_FALSE(FileExists(pictures.File("MiraboRemote.log")))
      << "a log in the folder the user browsed to";
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  // LeaveSoundOnExit=1 of the start folder stayed in force: the window is
  // open, so the sound was left on.
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_EQ(1u, writes.size());
  EXPECT_EQ(0x20, writes[0].value);
}

TEST_F(HostHabits, TheLogGoesOnInTheFolderOfStart) {
  sink_.onKey = nullptr;
  IRemoteDevice* device = StartNew(Settings(100, 50));
  ASSERT_NE(nullptr, device);
  TempDir pictures;
  CurrentDir browsed(pictures.path());
  card_->PressKey(18);
  ASSERT_TRUE(WaitForLogLine("> Pressed key code 18"));
  StopAndRelease(device);
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_FALSE(FileExists(pictures.File("MiraboRemote.log")));
}

}  // namespace
