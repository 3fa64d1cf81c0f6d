#include "session.h"

#include <stdio.h>

#include <algorithm>
#include <memory>

#include "host_window.h"

namespace {

// How often the host's loop looks at the card and the schedule when no
// message wakes it.
const DWORD kPollMs = 5;

volatile LONG interrupted = 0;

BOOL WINAPI OnConsoleInterrupt(DWORD) {
  InterlockedExchange(&interrupted, 1);
  return TRUE;
}

// Mirabo's main window, opened and closed as the schedule says.
class MainWindow {
 public:
  bool IsOpen() const { return window_ != nullptr; }
  // Both return false when it failed.
  bool Open() {
    window_.reset(new harness::HostWindow);
    if (!window_->created()) window_.reset();
    return IsOpen();
  }
  bool Close() {
    bool wasOpen = IsOpen();
    window_.reset();
    return wasOpen;
  }

 private:
  std::unique_ptr<harness::HostWindow> window_;
};

// The window events in time order, applied as their times come.
class WindowSchedule {
 public:
  WindowSchedule(const std::vector<WindowEvent>& events, MainWindow* window)
      : events_(events), window_(window) {}

  void ApplyDue(long nowMs) {
    while (next_ < events_.size() && events_[next_].atMs <= nowMs) {
      Apply(events_[next_], nowMs);
      ++next_;
    }
  }
  // Milliseconds until the next event, or -1 when none is left.
  long MsToNext(long nowMs) const {
    if (next_ >= events_.size()) return -1;
    return std::max(0L, events_[next_].atMs - nowMs);
  }

 private:
  void Apply(const WindowEvent& event, long nowMs) {
    const char* what;
    if (event.open == window_->IsOpen()) {
      what = event.open ? "window already open" : "window already closed";
    } else if (event.open) {
      what = window_->Open() ? "window \"Mirabo\" opened"
                             : "window \"Mirabo\" cannot be opened";
    } else {
      what = window_->Close() ? "window \"Mirabo\" closed"
                              : "window \"Mirabo\" cannot be closed";
    }
    console::Event(nowMs, "%s", what);
  }

  std::vector<WindowEvent> events_;
  MainWindow* window_;
  size_t next_ = 0;
};

// The host's message loop until the run length has passed (or Ctrl+C).
void RunMessageLoop(long runMs, WindowSchedule* schedule, SimCardLink* sim,
                    const SessionClock& clock) {
  while (!interrupted) {
    long now = clock.NowMs();
    if (runMs > 0 && now >= runMs) break;
    schedule->ApplyDue(now);
    sim->PrintSoundWrites();
    long wait = kPollMs;
    if (runMs > 0) wait = std::min(wait, runMs - now);
    long toNext = schedule->MsToNext(now);
    if (toNext >= 0) wait = std::min(wait, toNext);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait),
                              QS_ALLINPUT);
    harness::PumpMessages();
  }
  if (interrupted) console::Event(clock.NowMs(), "interrupted");
}

}  // namespace

const char* ResultName(HRESULT result) {
  switch (result) {
    case S_OK:
      return "S_OK";
    case E_NOINTERFACE:
      return "E_NOINTERFACE";
    case E_UNEXPECTED:
      return "E_UNEXPECTED";
    case E_POINTER:
      return "E_POINTER";
  }
  static char hex[16];
  snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(result));
  return hex;
}

SessionOutcome RunSession(IRemoteDevice* device, HostObjects* objects,
                          const HostOptions& options, SimCardLink* sim,
                          SessionClock* clock) {
  SessionOutcome outcome;
  MainWindow window;
  WindowSchedule schedule(options.window, &window);
  long runMs = RunLengthMs(options);
  SetConsoleCtrlHandler(OnConsoleInterrupt, TRUE);

  clock->Start();
  sim->FollowClock(*clock);
  schedule.ApplyDue(0);
  sim->PlayKeys(options.keys);
  HRESULT started = device->Start(objects->sink, objects->application);
  outcome.started = started == S_OK;
  console::Event(clock->NowMs(), "Start -> %s; references: sink %ld, host %ld",
                 ResultName(started), objects->sinkTally.references,
                 objects->applicationTally.references);
  if (runMs == 0) console::Note("running until Ctrl+C");

  RunMessageLoop(runMs, &schedule, sim, *clock);

  long stopAt = clock->NowMs();
  HRESULT stopped = device->Stop();
  outcome.stopped = stopped == S_OK;
  long stopMs = clock->NowMs();
  sim->PrintSoundWrites();
  console::Event(stopMs,
                 "Stop -> %s after %ld ms; references: sink %ld, host %ld; "
                 "%ld key events",
                 ResultName(stopped), stopMs - stopAt,
                 objects->sinkTally.references,
                 objects->applicationTally.references, objects->keyCount);
  if (window.Close())
    console::Event(clock->NowMs(), "window \"Mirabo\" closed");
  SetConsoleCtrlHandler(OnConsoleInterrupt, FALSE);
  return outcome;
}
