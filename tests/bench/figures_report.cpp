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

std::string Format(const char* format, double value) {
  char text[128];
  snprintf(text, sizeof text, format, value);
  return text;
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
                 "Stop latency (no host window: the exit "
                 "switches the sound off, 4 writes and 42 ms "
                 "of pauses)");
  for (const StopFigures& stop : stops) {
    char prefix[64];
    snprintf(prefix, sizeof prefix, "delays_%d_%d_%s",
             stop.settings.keyFirstDelay, stop.settings.keyRepeatDelay,
             stop.state == "after a short press" ? "after_press" : "polling");
    std::string label = std::to_string(stop.settings.keyFirstDelay) + "/" +
                        std::to_string(stop.settings.keyRepeatDelay) + " ms, " +
                        stop.state;
    std::string counted = std::to_string(stop.stopMs.count) + " stops";
    report.Number(std::string(prefix) + "_median_ms", label + ": median",
                  stop.stopMs.median, 1, "ms", counted);
    report.Number(std::string(prefix) + "_max_ms", label + ": maximum",
                  stop.stopMs.max, 1, "ms");
    report.Number(std::string(prefix) + "_noticed_max_ms",
                  label + ": to exit's 1st write", stop.noticedMs.max, 1, "ms",
                  "worst time until the loop began its exit");
  }
}

void AddTransaction(Report& report, const std::string& key,
                    const std::string& title, const TransactionFigures& figures,
                    const LineWork& least, bool sleeps, int samples) {
  report.Section(key, title);
  report.Number("samples", "calls measured", samples, 0, "");
  report.Number("driver_calls", "driver calls made", figures.driverCalls, 0, "",
                figures.callsVary ? "varied between calls" : "every call");
  report.Number("line_settings", "of which line settings", figures.lineSettings,
                0, "", "I2CSWSetSCL/SDA");
  report.Number("line_samples", "of which line samples", figures.lineSamples, 0,
                "", "I2CSWReadSCL/SDA; the rest: I2CInitSWMode");
  report.Number("least_line_ops", "least line operations", least.total(), 0, "",
                std::to_string(least.settings) + " settings + " +
                    std::to_string(least.samples) + " samples (reference)");
  report.Number("least_line_ops_stretch", "least, with clock stretching",
                least.totalWithStretchCheck(), 0, "",
                "+1 SCL sample per SCL release (" +
                    std::to_string(least.sclReleases) + ")");
  std::string outside = sleeps ? "outside the 10 ms sleep" : "whole call";
  report.Number("active_us_median", "time " + outside + ": median",
                figures.activeUs.median, 0, "us");
  report.Number("active_us_max", "time " + outside + ": maximum",
                figures.activeUs.max, 0, "us");
  if (sleeps)
    report.Number("sleep_us_median", "sleep after the stop: median",
                  figures.sleepUs.median, 0, "us");
  report.Number("failures", "calls that failed", figures.failures, 0, "");
}

}  // namespace

void AddMachine(Report& report, const Machine& machine) {
  report.Section("machine", "Machine");
  report.Text("cpu", "processor", machine.cpu.empty() ? "?" : machine.cpu);
  report.Number("processors", "processors seen", machine.processors, 0, "");
  report.Text("wine", "Wine", machine.wine.empty() ? "none" : machine.wine);
  report.Text("windows", "Windows version shown", machine.windows);
  report.Text("date", "date", machine.date);
}

void AddTransactions(Report& report, const UtlFigures& figures) {
  if (!figures.loaded) {
    report.Section("transactions", "TandorUtl transactions");
    report.Text("skipped", "not measured", figures.why);
    return;
  }
  AddTransaction(report, "read_byte", "DlkI2CSWReadByte(0x97) on the card",
                 figures.read, LeastLineWork(ReadByteFrame()), true,
                 figures.samples);
  AddTransaction(report, "write3", "DlkI2CSWWrite3(0x96, 2, 0x20) on the card",
                 figures.write3, LeastLineWork(Write3Frame()), false,
                 figures.samples);

  const BusDelayFigures& delay = figures.busDelay;
  report.Section("bus_delay",
                 "BusDelay where port reads fault (gaps between driver calls "
                 "of read frames)");
  report.Number("frames", "read frames used", delay.frames, 0, "");
  report.Number("paused_gap_us_median", "gap with a BusDelay: median",
                delay.pausedGapUs.median, 0, "us",
                std::to_string(delay.pausedGapUs.count) + " gaps, 4 a frame");
  report.Number("plain_gap_us_median", "gap without: median",
                delay.plainGapUs.median, 0, "us",
                "one driver call and the engine's step");
  bool met = delay.busDelayUs >= kBusDelayLeastUs &&
             delay.busDelayUs <= kBusDelayMostUs;
  report.Number("bus_delay_us", "BusDelay", delay.busDelayUs, 0, "us",
                "target 5 to 20 us: " + Within(met));
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
  report.Number(
      "idle_percent", "idle polling", cpu.idlePercent(), 2, "% of a core",
      Format("%.0f ms in ", cpu.idleCpuMs) +
          Format("%.1f s; target below 2 %%: ", cpu.idleWallMs / 1000) +
          Within(cpu.idlePercent() < kCpuMostPercent));
  report.Number(
      "held_percent", "key held", cpu.heldPercent(), 2, "% of a core",
      Format("%.0f ms in ", cpu.heldCpuMs) +
          Format("%.1f s; target below 2 %%: ", cpu.heldWallMs / 1000) +
          Within(cpu.heldPercent() < kCpuMostPercent));
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
