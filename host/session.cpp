#include "session.h"

#include <stdio.h>

#include <algorithm>
#include <memory>

#include "host_window.h"
#include "text.h"

namespace {

// How often the host's loop looks at the card and the schedule when no
// message wakes it.
const DWORD kPollMs = 5;

volatile LONG interrupted = 0;

BOOL WINAPI OnConsoleInterrupt(DWORD) {
  InterlockedExchange(&interrupted, 1);
  return TRUE;
}

// Mirabo's main window, opened and closed by the window events in time
// order as their times come.
class WindowSchedule {
 public:
  explicit WindowSchedule(const std::vector<WindowEvent>& events)
      : events_(events) {}

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
  // False when the window was not open.
  bool Close() {
    bool wasOpen = window_ != nullptr;
    window_.reset();
    return wasOpen;
  }

 private:
  void Apply(const WindowEvent& event, long nowMs) {
    const char* what;
    if (event.open == (window_ != nullptr)) {
      what = event.open ? "window already open" : "window already closed";
    } else if (event.open) {
      window_.reset(new harness::HostWindow);
      if (!window_->created()) window_.reset();
      what = window_ ? "window \"Mirabo\" opened"
                     : "window \"Mirabo\" cannot be opened";
    } else {
      what = Close() ? "window \"Mirabo\" closed"
                     : "window \"Mirabo\" cannot be closed";
    }
    console::Event(nowMs, "%s", what);
  }

  std::vector<WindowEvent> events_;
  std::unique_ptr<harness::HostWindow> window_;
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

HRESULT __stdcall KeyPrinter::OnKey(const char* name, const char* label) {
  InterlockedIncrement(keyCount_);
  console::Event(clock_.NowMs(), "OnKey(%s, %s)",
                 harness::Quoted(name ? name : "(null)").c_str(),
                 harness::Quoted(label ? label : "(null)").c_str());
  return S_OK;
}

void HostObjects::ReleaseOwn() {
  if (!sinkTally.destroyed) sink->Release();
  if (!applicationTally.destroyed) application->Release();
}

const char* ResultName(HRESULT result) {
#define HOST_RESULT_NAME(name) \
  if (result == name) return #name;
  HOST_RESULT_NAME(S_OK)
  HOST_RESULT_NAME(E_NOINTERFACE)
  HOST_RESULT_NAME(E_UNEXPECTED)
  HOST_RESULT_NAME(E_POINTER)
#undef HOST_RESULT_NAME
  static char hex[16];
  snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(result));
  return hex;
}

SessionOutcome RunSession(IRemoteDevice* device, HostObjects* objects,
                          const HostOptions& options, SimCardLink* sim,
                          SessionClock* clock) {
  SessionOutcome outcome;
  WindowSchedule schedule(options.window);
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
  if (schedule.Close())
    console::Event(clock->NowMs(), "window \"Mirabo\" closed");
  SetConsoleCtrlHandler(OnConsoleInterrupt, FALSE);
  return outcome;
}
