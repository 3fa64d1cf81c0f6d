#include "plugin_bench.h"

#include <windows.h>

#include <memory>

#include "host_window.h"
#include "process_time.h"
#include "processes.h"
#include "sim_driver.h"

namespace {

// The host's application object; the plug-in only holds a reference.
using BenchHost = harness::HostObject<IRemoteHost>;

// Two keys of the plug-in's table, and the names it gives them.
struct BenchKey {
  int code;
  const char* name;
};
const BenchKey kPower = {18, "Key_Power"};
const BenchKey kRecall = {23, "Key_Recall"};

const DWORD kKeyTimeoutMs = 3000;
// The delays of the new-key case: short, so that 50 presses take seconds.
const int kShortDelayMs = 100;
// Both delays in the long stop case.
const int kLongDelayMs = 60000;
// A held key for the cadence: the first key and this many repeats.
const size_t kRepeatsPerHold = 5;

// A fixed sequence of pseudo-random pauses, the same in every run.
class Random {
 public:
  int Below(int bound) {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 8) % static_cast<unsigned>(bound));
  }

 private:
  unsigned state_ = 20240601u;
};

double Ms(long long us) {
  return static_cast<double>(us) / 1000.0;
}

class Bench {
 public:
  Bench(const SimControl* card, const PluginPlan& plan)
      : card_(card),
        plan_(plan),
        recorder_(*new harness::KeyRecorder(recorderTally_, card)),
        host_(*new BenchHost(hostTally_)) {}
  ~Bench() {
    recorder_.Release();
    host_.Release();
  }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;
  bool Load(std::string* why) { return library_.Load("tandor.dll", why); }

  KeyLatencyFigures FirstKeyLatency();
  KeyLatencyFigures NewKeyLatency();
  StopFigures StopLatency(const StopCase& stopCase);
  CpuFigures CpuAndHeldKey(CadenceFigures& cadence);
  void Cadence(CadenceFigures& cadence);

 private:
  // Presses `key` now; returns the press time.
  long long Press(const BenchKey& key);
  // The latency of key number `index` (from 0) since the last Clear, or a
  // miss or a wrong key counted in `figures`.
  void TakeLatency(size_t index, const BenchKey& key, long long pressedUs,
                   KeyLatencyFigures& figures, std::vector<double>& samples);
  // With `on`, the card's key is let go as soon as it has been delivered:
  // a press that lasts one reading. Set while no plug-in runs.
  void ReleaseOnKey(bool on);
  // Sleeps `period` ms and measures this process meanwhile.
  CpuWindow CpuOver(DWORD period);
  // Adds the intervals between the keys since the last Clear.
  void TakeIntervals(CadenceFigures& cadence);

  const SimControl* card_;
  PluginPlan plan_;
  harness::PluginLibrary library_;
  // The host's objects, each holding one reference of the benchmark's own
  // until the end.
  harness::ReferenceTally recorderTally_;
  harness::ReferenceTally hostTally_;
  harness::KeyRecorder& recorder_;
  BenchHost& host_;
  Random random_;
};

void Bench::ReleaseOnKey(bool on) {
  const SimControl* card = card_;
  recorder_.onKey = nullptr;
  if (on) recorder_.onKey = [card] { card->ReleaseKey(); };
}

long long Bench::Press(const BenchKey& key) {
  long long now = card_->NowUs();
  card_->PressKey(key.code);
  return now;
}

void Bench::TakeLatency(size_t index, const BenchKey& key, long long pressedUs,
                        KeyLatencyFigures& figures,
                        std::vector<double>& samples) {
  ++figures.presses;
  if (!recorder_.WaitForKeys(index + 1, kKeyTimeoutMs)) {
    ++figures.missed;
    return;
  }
  harness::KeyEvent event = recorder_.events()[index];
  if (event.name != key.name) ++figures.wrongKey;
  samples.push_back(Ms(event.timeUs - pressedUs));
}

// A new plug-in object for every press: polling starts at 20 ms, and the
// press falls at a random point of the first few cycles.
KeyLatencyFigures Bench::FirstKeyLatency() {
  KeyLatencyFigures figures;
  harness::WriteSettingsFile("", figures.settings);
  ReleaseOnKey(true);
  std::vector<double> samples;
  for (int i = 0; i < plan_.presses; ++i) {
    recorder_.Clear();
    StartedPlugin plugin(library_, recorder_, host_);
    if (!plugin.started()) {
      ++figures.presses;
      ++figures.missed;
      continue;
    }
    Sleep(40 + random_.Below(40));
    long long pressed = Press(kPower);
    TakeLatency(0, kPower, pressed, figures, samples);
    card_->ReleaseKey();
  }
  figures.latencyMs = Summarize(samples);
  return figures;
}

// One plug-in object; every press lasts one reading and the next one is a
// different key, so each waits out KeyFirstDelay. The press falls at a
// random point of the cycle (the delay plus about one reading).
KeyLatencyFigures Bench::NewKeyLatency() {
  KeyLatencyFigures figures;
  figures.settings.keyFirstDelay = kShortDelayMs;
  figures.settings.keyRepeatDelay = kShortDelayMs;
  harness::WriteSettingsFile("", figures.settings);
  ReleaseOnKey(true);
  recorder_.Clear();
  StartedPlugin plugin(library_, recorder_, host_);
  Press(kRecall);
  if (!plugin.started() || !recorder_.WaitForKeys(1, kKeyTimeoutMs)) {
    figures.presses = figures.missed = plan_.presses;
    return figures;
  }
  std::vector<double> samples;
  for (int i = 0; i < plan_.presses; ++i) {
    const BenchKey& key = i % 2 ? kRecall : kPower;
    Sleep(random_.Below(kShortDelayMs + 12));
    long long pressed = Press(key);
    TakeLatency(i + 1, key, pressed, figures, samples);
  }
  card_->ReleaseKey();
  figures.latencyMs = Summarize(samples);
  return figures;
}

// Stop, timed, and the time to the exit's first sound write (its sound
// off, four writes with 42 ms of pauses, is part of every Stop).
StopFigures Bench::StopLatency(const StopCase& stopCase) {
  StopFigures figures;
  figures.stopCase = stopCase;
  harness::WriteSettingsFile("", stopCase.settings);
  ReleaseOnKey(true);
  std::vector<double> stops, noticed;
  for (int i = 0; i < plan_.stopsPerCase; ++i) {
    std::unique_ptr<harness::HostWindow> window;
    if (stopCase.hostWindow) window.reset(new harness::HostWindow);
    recorder_.Clear();
    StartedPlugin plugin(library_, recorder_, host_);
    if (stopCase.hostWindow)
      harness::WaitUntil([this] { return card_->SoundState() == 1; },
                         kKeyTimeoutMs);
    if (stopCase.afterPress) {
      Press(kPower);
      recorder_.WaitForKeys(1, kKeyTimeoutMs);
      Sleep(50 + random_.Below(20));
    } else {
      Sleep(100 + random_.Below(40));
    }
    card_->ClearRecords();
    long long asked = card_->NowUs();
    plugin.Stop();
    long long returned = card_->NowUs();
    stops.push_back(Ms(returned - asked));
    std::vector<SimSoundWrite> writes = harness::Records(card_->GetSoundWrites);
    if (!writes.empty()) noticed.push_back(Ms(writes.front().timeUs - asked));
  }
  card_->ReleaseKey();
  figures.stopMs = Summarize(stops);
  figures.noticedMs = Summarize(noticed);
  return figures;
}

CpuWindow Bench::CpuOver(DWORD period) {
  CpuWindow window;
  card_->ClearRecords();
  double cpu = ProcessCpuUs();
  long long wall = card_->NowUs();
  Sleep(period);
  window.cpuMs = (ProcessCpuUs() - cpu) / 1000;
  window.wallMs = Ms(card_->NowUs() - wall);
  window.keyReads = card_->GetKeyReads(nullptr, 0);
  return window;
}

void Bench::TakeIntervals(CadenceFigures& cadence) {
  std::vector<harness::KeyEvent> events = recorder_.events();
  for (size_t i = 1; i < events.size(); ++i) {
    double interval = Ms(events[i].timeUs - events[i - 1].timeUs);
    (i == 1 ? cadence.firstIntervalsMs : cadence.repeatIntervalsMs)
        .push_back(interval);
  }
  ++cadence.holds;
}

// With the default delays: idle polling (20 ms cycles), then one key held
// down for as long, whose deliveries also give the cadence.
CpuFigures Bench::CpuAndHeldKey(CadenceFigures& cadence) {
  CpuFigures figures;
  harness::WriteSettingsFile("", cadence.settings);
  ReleaseOnKey(false);
  recorder_.Clear();
  StartedPlugin plugin(library_, recorder_, host_);
  if (!plugin.started()) return figures;
  Sleep(500);
  DWORD period = static_cast<DWORD>(plan_.cpuSeconds) * 1000;

  figures.idle = CpuOver(period);
  card_->PressKey(kPower.code);
  figures.held = CpuOver(period);
  card_->ReleaseKey();
  figures.heldKeys = static_cast<int>(recorder_.events().size());
  TakeIntervals(cadence);
  return figures;
}

// More held keys, each for the first key and a few repeats, each a new key
// (released for more than one cycle in between, and alternating).
void Bench::Cadence(CadenceFigures& cadence) {
  harness::WriteSettingsFile("", cadence.settings);
  ReleaseOnKey(false);
  StartedPlugin plugin(library_, recorder_, host_);
  if (!plugin.started()) return;
  for (int i = 1; i < plan_.cadenceHolds; ++i) {
    recorder_.Clear();
    const BenchKey& key = i % 2 ? kRecall : kPower;
    card_->PressKey(key.code);
    recorder_.WaitForKeys(1 + kRepeatsPerHold, kKeyTimeoutMs);
    card_->ReleaseKey();
    TakeIntervals(cadence);
    Sleep(300);
  }
}

}  // namespace

PluginFigures MeasurePlugin(const SimControl* card, const PluginPlan& plan) {
  PluginFigures figures;
  Bench bench(card, plan);
  if (!bench.Load(&figures.why)) return figures;
  figures.ran = true;
  card->ClearFaults();
  card->ReleaseKey();

  figures.firstKey = bench.FirstKeyLatency();
  figures.newKey = bench.NewKeyLatency();
  harness::PluginSettings defaults, longDelays;
  longDelays.keyFirstDelay = longDelays.keyRepeatDelay = kLongDelayMs;
  for (const harness::PluginSettings& settings : {defaults, longDelays}) {
    figures.stops.push_back(bench.StopLatency({settings, false, false}));
    figures.stops.push_back(bench.StopLatency({settings, true, false}));
  }
  // As in the host: its window open, the sound on.
  figures.stops.push_back(bench.StopLatency({defaults, true, true}));
  figures.cpu = bench.CpuAndHeldKey(figures.cadence);
  bench.Cadence(figures.cadence);
  return figures;
}
