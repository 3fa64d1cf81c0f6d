#include "figures_report.h"

#include <stdio.h>

#include "frame_reference.h"

namespace {

// Targets.
const double kBusDelayLeastUs = 5;
const double kBusDelayMostUs = 20;
const double kCpuMostPercent = 2;

std::string Within(bool met) {
  return met ? "met" : "MISSED";
}

void AddKeyLatency(Report& report, const std::string& key,
                   const std::string& title, const KeyLatencyFigures& figures) {
  report.Section(key, title);
  report.Text("settings", "settings", DelaysText(figures.settings));
  report.Number("presses", "presses", figures.presses, 0, "");
  report.Number("median_ms", "median", figures.latencyMs.median, 1, "ms");
  report.Number("max_ms", "maximum", figures.latencyMs.max, 1, "ms");
  report.Number("min_ms", "minimum", figures.latencyMs.min, 1, "ms");
  report.Number("missed", "presses without OnKey (3 s)", figures.missed, 0, "");
  report.Number("wrong_key", "OnKey with another key", figures.wrongKey, 0, "");
}

void AddStops(Report& report, const std::vector<StopFigures>& stops) {
  report.Section("stop_latency",
                 "Stop latency, KeyFirstDelay/KeyRepeatDelay in ms (the exit "
                 "switches the sound off: 4 writes and 42 ms of pauses, after "
                 "500 ms when the host window is open)");
  for (const StopFigures& stop : stops) {
    const StopCase& c = stop.stopCase;
    std::string delays = std::to_string(c.settings.keyFirstDelay) + "/" +
                         std::to_string(c.settings.keyRepeatDelay);
    std::string key = "delays_" + std::to_string(c.settings.keyFirstDelay) +
                      "_" + std::to_string(c.settings.keyRepeatDelay) +
                      (c.hostWindow ? "_window" : "") +
                      (c.afterPress ? "_after_press" : "_polling");
    std::string label = delays + (c.hostWindow ? ", window" : "") +
                        (c.afterPress ? ", after a press" : ", polling");
    report.Number(key + "_median_ms", label + ": median", stop.stopMs.median, 1,
                  "ms",
                  std::to_string(stop.stopMs.count) + " stops; " +
                      (c.afterPress ? "in the KeyFirstDelay pause"
                                    : "before any key, 20 ms cycles") +
                      (c.hostWindow ? "; host window open" : "; no window"));
    report.Number(key + "_max_ms", label + ": maximum", stop.stopMs.max, 1,
                  "ms");
    report.Number(key + "_first_write_max_ms", label + ": to 1st exit write",
                  stop.noticedMs.max, 1, "ms", "worst");
  }
}

// The figures of one transaction: the call counts (the same in both runs),
// the reference, and the times of both runs.
void AddTransaction(Report& report, const std::string& key,
                    const std::string& title, const TransactionFigures& nt,
                    const TransactionFigures& shown98, const LineWork& least,
                    bool sleeps, int samples) {
  report.Section(key, title);
  report.Number("samples", "calls measured, each run", samples, 0, "");
  bool same = nt.driverCalls == shown98.driverCalls && !nt.callsVary &&
              !shown98.callsVary;
  report.Number("driver_calls", "driver calls made", nt.driverCalls, 0, "",
                same ? "in every call of both runs" : "VARIED between calls");
  report.Number("line_settings", "of which line settings", nt.lineSettings, 0,
                "", "I2CSWSetSCL/SDA");
  report.Number("line_samples", "of which line samples", nt.lineSamples, 0, "",
                "I2CSWReadSCL/SDA; the rest: I2CInitSWMode");
  report.Number("least_line_ops", "least line operations", least.total(), 0, "",
                std::to_string(least.settings) + " settings + " +
                    std::to_string(least.samples) + " samples (reference)");
  report.Number("least_line_ops_stretch", "least, with clock stretching",
                least.totalWithStretchCheck(), 0, "",
                "+1 SCL sample per SCL release (" +
                    std::to_string(least.sclReleases) + ")");
  std::string span = sleeps ? "outside the sleep" : "whole call";
  report.Number("active_us_median", span + ": median", nt.activeUs.median, 0,
                "us", "port reads fault (shown as Windows 2000)");
  report.Number("active_us_max", span + ": maximum", nt.activeUs.max, 0, "us");
  report.Number("win98_active_us_median", span + ", as Win98: median",
                shown98.activeUs.median, 0, "us",
                "Wine emulates port reads: the counter pause stands in");
  report.Number("win98_active_us_max", span + ", as Win98: maximum",
                shown98.activeUs.max, 0, "us");
  if (sleeps)
    report.Number("sleep_us_median", "sleep after the stop: median",
                  nt.sleepUs.median, 0, "us", "Sleep(10)");
  report.Number("failures", "calls that failed", nt.failures + shown98.failures,
                0, "");
}

void AddBusDelay(Report& report, const BusDelayFigures& nt,
                 const BusDelayFigures& shown98, const PortReadCost& portRead) {
  report.Section("bus_delay",
                 "BusDelay where port reads fault (gaps between the driver "
                 "calls of read frames)");
  report.Number("frames", "read frames used", nt.frames, 0, "");
  report.Number("paused_gap_us", "gap with a BusDelay", nt.pausedGapMeanUs, 2,
                "us",
                std::to_string(nt.pausedGapUs.count) +
                    " gaps, 3 a frame; mean of the middle half");
  report.Number("plain_gap_us", "gap without", nt.plainGapMeanUs, 2, "us",
                "a driver call and a step of the bit engine (below the "
                "card clock's 1 us step)");
  bool met =
      nt.busDelayUs >= kBusDelayLeastUs && nt.busDelayUs <= kBusDelayMostUs;
  report.Number("bus_delay_us", "BusDelay", nt.busDelayUs, 1, "us",
                "shown as Windows 2000; target 5 to 20 us: " + Within(met));
  report.Number("win98_bus_delay_us", "BusDelay as Windows 98",
                shown98.busDelayUs, 1, "us",
                "the counter pause: Wine's emulated reads are too slow");
  if (!portRead.allowed) {
    report.Text("win98_port_read_us", "one port read as Windows 98",
                "not measured", "`in al,0x61` faults here");
    return;
  }
  report.Number("win98_port_read_us", "one port read as Windows 98",
                portRead.wallUs, 1, "us",
                "Wine's emulation of `in al,0x61`; ten would take this x 10");
  report.Number("win98_port_read_cpu_us", "its processor time", portRead.cpuUs,
                1, "us");
}

// A window of processor time of the host process.
void AddCpuWindow(Report& report, const std::string& key,
                  const std::string& label, const CpuWindow& window) {
  double seconds = window.wallMs / 1000;
  if (seconds <= 0) return;
  double percent = 100 * window.cpuMs / window.wallMs;
  char note[96];
  snprintf(note, sizeof note,
           "%.0f ms in %.1f s; target below 2 %%: ", window.cpuMs, seconds);
  report.Number(key + "_percent", label, percent, 2, "% of a core",
                note + Within(percent < kCpuMostPercent));
  snprintf(note, sizeof note, "%.1f a second", window.keyReads / seconds);
  report.Number(key + "_reads", label + ": receiver readings", window.keyReads,
                0, "", note);
}

}  // namespace

void AddMachine(Report& report, const Machine& machine) {
  report.Section("machine", "Machine");
  report.Text("cpu", "processor", machine.cpu.empty() ? "?" : machine.cpu);
  report.Number("processors", "processors seen", machine.processors, 0, "");
  if (!machine.load.empty())
    report.Text("load", "host load averages at the end", machine.load,
                "1, 5, 15 minutes; the run itself adds little");
  report.Text("wine", "Wine", machine.wine.empty() ? "none" : machine.wine);
  report.Text("windows", "Windows version shown", machine.windows);
  report.Text("date", "date", machine.date);
}

void AddTransactions(Report& report, const UtlFigures& shown98,
                     const UtlFigures& nt, const PortReadCost& portRead) {
  if (!shown98.loaded || !nt.loaded) {
    report.Section("transactions", "TandorUtl transactions");
    report.Text("skipped", "not measured",
                shown98.loaded ? nt.why : shown98.why);
    return;
  }
  AddTransaction(
      report, "read_byte", "DlkI2CSWReadByte(0x97) on the simulated card",
      nt.read, shown98.read, LeastLineWork(ReadByteFrame()), true, nt.samples);
  AddTransaction(report, "write3",
                 "DlkI2CSWWrite3(0x96, 2, 0x20) on the simulated card",
                 nt.write3, shown98.write3, LeastLineWork(Write3Frame()), false,
                 nt.samples);
  AddBusDelay(report, nt.busDelay, shown98.busDelay, portRead);

  report.Section("card_bookkeeping",
                 "The simulated card's own share: at every start and stop "
                 "condition it reads the entry flag as another process "
                 "would");
  report.Number("entry_flag_read_us", "one entry-flag read",
                nt.card.entryFlagReadUs, 1, "us",
                "open, map, read, unmap, close; 2 a transaction");
  report.Number("entry_flag_read_cpu_us", "its processor time",
                nt.card.entryFlagReadCpuUs, 1, "us");
}

void AddPlugin(Report& report, const PluginFigures& figures) {
  if (!figures.ran) {
    report.Section("plugin", "Plug-in");
    report.Text("skipped", "not measured", figures.why);
    return;
  }
  AddKeyLatency(report, "key_latency_first",
                "Key latency: first key after start (poll delay 20 ms)",
                figures.firstKey);
  AddKeyLatency(report, "key_latency_new",
                "Key latency: new key after a one-reading press (poll delay "
                "KeyFirstDelay)",
                figures.newKey);
  AddStops(report, figures.stops);

  const CpuFigures& cpu = figures.cpu;
  report.Section("cpu", "Processor time of the host process (default delays)");
  AddCpuWindow(report, "idle", "idle polling", cpu.idle);
  AddCpuWindow(report, "held", "key held", cpu.held);
  report.Number("held_keys", "OnKey calls while held", cpu.heldKeys, 0, "");

  const CadenceFigures& cadence = figures.cadence;
  report.Section("cadence",
                 "Held-key cadence (interval between OnKey calls "
                 "less the delay)");
  report.Text("settings", "settings", DelaysText(cadence.settings));
  report.Number("holds", "keys held", cadence.holds, 0, "");
  struct Series {
    const char* key;
    const char* label;
    const std::vector<double>& intervals;
    int delay;
  } series[] = {
      {"first", "after the first key", cadence.firstIntervalsMs,
       cadence.settings.keyFirstDelay},
      {"repeat", "between repeats", cadence.repeatIntervalsMs,
       cadence.settings.keyRepeatDelay},
  };
  for (const Series& s : series) {
    std::vector<double> errors;
    for (double interval : s.intervals) errors.push_back(interval - s.delay);
    Summary error = Summarize(errors);
    std::string key = s.key;
    std::string label = s.label;
    report.Number(key + "_intervals", label + ": intervals", error.count, 0, "",
                  "against " + std::to_string(s.delay) + " ms");
    report.Number(key + "_mean_error_ms", label + ": mean error", error.mean, 1,
                  "ms");
    report.Number(key + "_worst_error_ms", label + ": worst error",
                  WorstDeviation(errors), 1, "ms");
  }
}
