// The plug-in as a host and its user see it: tandor.dll polling the
// simulated card through TandorUtl, this program being the host. Times are
// taken on the card's clock: a press when the card is told to hold the key,
// a key when the plug-in calls OnKey.

#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <memory>

#include "bench.h"
#include "driverApi.h"
#include "entry_flag_probe.h"
#include "foreignCall.h"
#include "harness.h"

namespace {

// Two keys of the plug-in's table and its names for them.
struct BenchKey {
  int code;
  const char* name;
};
const BenchKey kPower = {18, "Key_Power"};
const BenchKey kRecall = {23, "Key_Recall"};

const DWORD kKeyTimeoutMs = 3000;
const int kShortDelayMs = 100;     // the new-key case's: presses take seconds
const int kLongDelayMs = 60000;    // the most the settings allow
const size_t kRepeatsPerHold = 5;  // a held key of the cadence
// Replayed to the card per processor time window: dozens of clock ticks.
const int kReplayedCalls = 120000;

double Ms(long long us) {
  return static_cast<double>(us) / 1000.0;
}

// Both delays `ms`, or the defaults for 0.
harness::PluginSettings Delays(int ms) {
  harness::PluginSettings settings;
  if (ms) settings.keyFirstDelay = settings.keyRepeatDelay = ms;
  return settings;
}

// This process's processor time over a window, and the plug-in's receiver
// readings and driver calls in it.
struct CpuWindow {
  double cpuMs = 0, wallMs = 0;
  int readings = 0;
  std::vector<SimCall> calls;
};

class Bench {
 public:
  Bench(const SimControl* card, const PluginPlan& plan, Report& report)
      : card_(card), plan_(plan), report_(report), recorder_(card) {}

  bool Load(std::string* why) { return library_.Load("tandor.dll", why); }

  // A new plug-in object for every press: polling starts at 20 ms, and the
  // press falls at a random point of the first few cycles.
  void FirstKeyLatency() {
    for (int i = 0; i < plan_.presses; ++i) {
      Prepare(Delays(0), true);
      Started plugin(*this);
      Sleep(40 + RandomBelow(40));
      TakeLatency(0, kPower, Press(kPower));
      card_->ReleaseKey();
    }
    AddLatency("first_key", "first key after start (poll delay 20 ms)");
  }

  // One plug-in object; each press lasts one reading and the next is another
  // key, so each waits out KeyFirstDelay: it falls anywhere in the cycle.
  void NewKeyLatency() {
    Prepare(Delays(kShortDelayMs), true);
    Started plugin(*this);
    Press(kRecall);
    recorder_.WaitForKeys(1, kKeyTimeoutMs);
    for (int i = 0; i < plan_.presses; ++i) {
      const BenchKey& key = i % 2 ? kRecall : kPower;
      Sleep(RandomBelow(kShortDelayMs + 12));
      TakeLatency(i + 1, key, Press(key));
    }
    card_->ReleaseKey();
    AddLatency("new_key", "new key after a press (poll delay " +
                              std::to_string(kShortDelayMs) + " ms)");
  }

  // Stop while polling, or in the KeyFirstDelay pause after a press; with
  // the host's window open the exit waits 500 ms before the sound-off.
  void StopLatency(const char* key, const char* label, int delaysMs,
                   bool afterPress, bool hostWindow) {
    std::vector<double> stops;
    for (int i = 0; i < plan_.stopsPerCase; ++i) {
      std::unique_ptr<harness::HostWindow> window(
          hostWindow ? new harness::HostWindow : nullptr);
      Prepare(Delays(delaysMs), true);
      Started plugin(*this);
      if (hostWindow)
        harness::WaitUntil([this] { return card_->SoundState() == 1; },
                           kKeyTimeoutMs);
      if (afterPress) {
        Press(kPower);
        recorder_.WaitForKeys(1, kKeyTimeoutMs);
      }
      Sleep(afterPress ? 50 + RandomBelow(20) : 100 + RandomBelow(40));
      long long asked = card_->NowUs();
      plugin.Stop();
      stops.push_back(Ms(card_->NowUs() - asked));
    }
    card_->ReleaseKey();
    Summary stop = Summarize(stops);
    report_.Row(key, label,
                {{"median_ms", stop.median, 1, "median %s ms"},
                 {"max_ms", stop.max, 1, "max %s ms"}},
                std::to_string(stop.count) + " stops");
  }

  // Idle polling, then a key held as long (the cadence's first hold); the
  // card is replayed to once the plug-in has stopped and left it the bus.
  void ProcessorTime() {
    Prepare(Delays(0), false);
    CpuWindow idle, held;
    {
      Started plugin(*this);
      Sleep(500);
      idle = CpuOver();
      card_->PressKey(kPower.code);
      held = CpuOver();
      card_->ReleaseKey();
    }
    TakeIntervals();
    AddCpu("idle", "idle polling", idle);
    AddCpu("held", "a key held", held);
  }

  // More held keys, alternating, released for more than a cycle between.
  void Cadence() {
    harness::PluginSettings settings = Delays(0);
    Prepare(settings, false);
    Started plugin(*this);
    for (int i = 1; i < plan_.cadenceHolds; ++i) {
      recorder_.Clear();
      card_->PressKey((i % 2 ? kRecall : kPower).code);
      recorder_.WaitForKeys(1 + kRepeatsPerHold, kKeyTimeoutMs);
      card_->ReleaseKey();
      TakeIntervals();
      Sleep(300);
    }
    AddCadence("first_repeat", "first repeat, after KeyFirstDelay",
               firstIntervalsMs_, settings.keyFirstDelay);
    AddCadence("repeats", "later repeats, after KeyRepeatDelay",
               repeatIntervalsMs_, settings.keyRepeatDelay);
  }

 private:
  // A plug-in object, started for the life of this one: it polls once per
  // object (its back end goes when it stops).
  class Started {
   public:
    explicit Started(Bench& bench) : device_(bench.library_.CreateObject()) {
      on_ = device_ && device_->Start(&bench.recorder_, &bench.host_) == S_OK;
    }
    ~Started() {
      Stop();
      if (device_) device_->Release();
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    void Stop() {
      if (on_) device_->Stop();
      on_ = false;
    }

   private:
    IRemoteDevice* device_;
    bool on_;
  };

  // A fixed sequence of pseudo-random pauses, the same in every run.
  int RandomBelow(int bound) {
    random_ = random_ * 1103515245u + 12345u;
    return static_cast<int>((random_ >> 8) % static_cast<unsigned>(bound));
  }
  long long Press(const BenchKey& key) {
    long long now = card_->NowUs();
    card_->PressKey(key.code);
    return now;
  }
  // With `oneReading` the card lets the key go once it is delivered.
  void Prepare(const harness::PluginSettings& settings, bool oneReading) {
    harness::WriteSettingsFile("", settings);
    const SimControl* card = card_;
    recorder_.onKey = nullptr;
    if (oneReading) recorder_.onKey = [card] { card->ReleaseKey(); };
    recorder_.Clear();
  }
  void TakeLatency(size_t index, const BenchKey& key, long long pressedUs) {
    ++presses_;
    if (!recorder_.WaitForKeys(index + 1, kKeyTimeoutMs)) return;
    harness::KeyEvent event = recorder_.events()[index];
    wrongKeys_ += event.name != key.name;
    latencyMs_.push_back(Ms(event.timeUs - pressedUs));
  }

  void AddLatency(const std::string& key, const std::string& label) {
    Summary ms = Summarize(latencyMs_);
    int missed = presses_ - ms.count;
    report_.Row(key, label,
                {{"median_ms", ms.median, 1, "median %s ms"},
                 {"max_ms", ms.max, 1, "max %s ms"},
                 {"missed", static_cast<double>(missed), 0, ""}},
                std::to_string(presses_) + " presses; " +
                    std::to_string(missed) + " without OnKey in 3 s, " +
                    std::to_string(wrongKeys_) + " with another key");
    latencyMs_.clear();
    presses_ = wrongKeys_ = 0;
  }

  CpuWindow CpuOver() {
    CpuWindow window;
    card_->ClearRecords();
    double cpu = ProcessCpuUs();
    long long wall = card_->NowUs();
    Sleep(static_cast<DWORD>(plan_.cpuSeconds) * 1000);
    window.cpuMs = (ProcessCpuUs() - cpu) / 1000;
    window.wallMs = Ms(card_->NowUs() - wall);
    window.readings = card_->GetKeyReads(nullptr, 0);
    window.calls = harness::Records(card_->GetCalls);
    return window;
  }

  // The window's processor time and its split: the card's share is what
  // the card alone takes for the window's whole transactions (from the
  // first mode call to the last), replayed, scaled to all its calls; the
  // rest is the plug-in's own, with this host's part.
  void AddCpu(const std::string& key, const std::string& label,
              const CpuWindow& window) {
    double percent = 100 * window.cpuMs / window.wallMs;
    char note[160];
    snprintf(note, sizeof note,
             "%.0f ms in %.1f s, %.1f readings a second; target below 2 %%: "
             "%s",
             window.cpuMs, window.wallMs / 1000,
             window.readings * 1000 / window.wallMs,
             percent < 2 ? "met" : "MISSED");
    report_.Row(key, label, {{"percent", percent, 2, "%s % of a core"}}, note);
    const std::vector<SimCall>& calls = window.calls;
    size_t first = calls.size(), last = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].function != kDrv_I2CInitSWMode) continue;
      first = std::min(first, i);
      last = i;
    }
    if (first >= last) {
      report_.NotMeasured(key + "_card", "the simulated card's share",
                          "no whole transaction in the window");
      return;
    }
    // The card alone, fed those calls back to back while TandorUtl's shared
    // region exists (the card reads the entry flag in it at every start and
    // stop condition). Its caches stay warm so: this is at most what the
    // calls took among the plug-in's work.
    static const char* const kNames[] = {
#define DRIVER_FUNCTION_NAME(name, group, result, params, args) #name,
        DRIVER_FUNCTIONS(DRIVER_FUNCTION_NAME)
#undef DRIVER_FUNCTION_NAME
    };
    HMODULE driver = GetModuleHandleA(DRIVER_LIBRARY_NAME);
    std::vector<FARPROC> functions;
    for (const char* name : kNames)
      functions.push_back(driver ? GetProcAddress(driver, name) : nullptr);
    int passes = std::max(1, kReplayedCalls / static_cast<int>(last - first));
    sim::HeldEntryRegion region(sim::HeldEntryRegion::kCreate);
    double cpuUs = ProcessCpuUs();
    for (int pass = 0; pass < passes; ++pass) {
      for (size_t i = first; i < last; ++i) {
        size_t f = static_cast<size_t>(calls[i].function);
        if (f < functions.size() && functions[f])
          CallEitherConvention(functions[f], calls[i].args, calls[i].argc);
      }
    }
    double cardMs = (ProcessCpuUs() - cpuUs) / 1000 / passes *
                    static_cast<double>(calls.size()) / (last - first);
    card_->ClearRecords();
    double cardPercent = 100 * cardMs / window.wallMs;
    snprintf(note, sizeof note,
             "its %d driver calls replayed to the card alone, %d times: "
             "%.0f ms",
             static_cast<int>(calls.size()), passes, cardMs);
    report_.Row(key + "_card", "the simulated card's share",
                {{"percent", cardPercent, 2, "%s % of a core"}}, note);
    report_.Row(key + "_plugin", "the plug-in's own share",
                {{"percent", percent - cardPercent, 2, "%s % of a core"}},
                "the rest: tandor.dll, TandorUtl and this host; the clock "
                "counts 10 to 20 ms ticks, 0.1 to 0.2 % of the window");
  }

  void TakeIntervals() {
    std::vector<harness::KeyEvent> events = recorder_.events();
    for (size_t i = 1; i < events.size(); ++i)
      (i == 1 ? firstIntervalsMs_ : repeatIntervalsMs_)
          .push_back(Ms(events[i].timeUs - events[i - 1].timeUs));
  }

  void AddCadence(const char* key, const char* label,
                  const std::vector<double>& intervals, int delay) {
    std::vector<double> late;
    for (double interval : intervals) late.push_back(interval - delay);
    Summary ms = Summarize(late);
    report_.Row(key, label + (" (" + std::to_string(delay) + " ms)"),
                {{"mean_late_ms", ms.mean, 1, "mean +%s ms"},
                 {"max_late_ms", ms.max, 1, "worst +%s ms"}},
                std::to_string(ms.count) + " intervals");
  }

  const SimControl* card_;
  PluginPlan plan_;
  Report& report_;
  // Declared before the library: they outlive any reference it holds.
  harness::KeyRecorder recorder_;
  harness::HostObject<IRemoteHost> host_;
  harness::PluginLibrary library_;
  unsigned random_ = 20240601u;
  std::vector<double> latencyMs_;  // of the latency case under way
  int presses_ = 0, wrongKeys_ = 0;
  std::vector<double> firstIntervalsMs_, repeatIntervalsMs_;
};

}  // namespace

void MeasurePlugin(const SimControl* card, const PluginPlan& plan,
                   Report& report) {
  Bench bench(card, plan, report);
  std::string why;
  if (!bench.Load(&why)) {
    report.Section("plugin", "The plug-in");
    report.NotMeasured("plugin", "the plug-in", why);
    return;
  }
  report.Section("key_latency", "Key latency, from a press to OnKey");
  bench.FirstKeyLatency();
  bench.NewKeyLatency();
  report.Section("stop",
                 "Stop (each includes the exit's sound-off: 4 writes, 42 ms "
                 "of pauses)");
  bench.StopLatency("default", "default delays 1000/100, polling", 0, false,
                    false);
  bench.StopLatency("default_after_press", "default delays, after a press", 0,
                    true, false);
  bench.StopLatency("longest", "longest delays 60000/60000, polling",
                    kLongDelayMs, false, false);
  bench.StopLatency("longest_after_press", "longest delays, after a press",
                    kLongDelayMs, true, false);
  bench.StopLatency("window", "host window open, after a press", 0, true, true);
  report.Section("processor_time",
                 "Processor time of the host process, default delays");
  bench.ProcessorTime();
  report.Section("cadence",
                 "Held-key cadence: each interval between OnKey calls less "
                 "its delay");
  bench.Cadence();
}
