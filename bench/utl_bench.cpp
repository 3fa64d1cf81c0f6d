// TandorUtl's two transactions that the plug-in makes, one call at a time
// on the simulated card: the driver calls each makes (from the card's call
// record) against the least line work its frame needs, its time, and, from
// the gaps between the recorded calls of the reads, the bus delay.

#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <numeric>
#include <utility>

#include "bench.h"
#include "driverApi.h"
#include "portProbe.h"
#include "harness.h"

namespace {

// A read frame pauses before the start condition's falling SDA (and after
// it, left out: there the card reads the entry flag, which takes far
// longer), and after the library's 10th and 19th SCL-low settings: the
// address byte's acknowledge clock and the master's acknowledge.
const int kPauseAfterAddressAck = 10;
const int kPauseAfterMasterAck = 19;
const int kPortReads = 30000;  // dozens of clock ticks where Wine emulates

// The least line work of a frame, the reference for the library's driver
// calls: a master that drives an idle bus, sets SDA for every bit, never
// reads back a line it released, and counts each line setting and sample.
// Start 2 (SDA low, SCL low); a byte out 8 x 3 (SDA, SCL high, SCL low) and
// 4 for the device's acknowledge (release SDA, SCL high, sample, SCL low);
// a byte in 8 x 3 (SCL high, sample, SCL low) and 3 for the master's
// acknowledge (SDA low, SCL high, SCL low); stop 2 (after that acknowledge)
// or 3 (SDA low, SCL high, SDA high). With clock stretching the master also
// samples SCL after every release of SCL. Returns both counts.
std::pair<int, int> LeastLineWork(int bytesOut, bool acknowledgedByteIn) {
  int operations =
      2 + bytesOut * (8 * 3 + 4) + (acknowledgedByteIn ? 8 * 3 + 3 + 2 : 3);
  int sclReleases = bytesOut * 9 + (acknowledgedByteIn ? 9 : 0) + 1;
  return {operations, operations + sclReleases};
}

struct Sample {
  std::vector<SimCall> calls;
  long long beganUs, returnedUs;
  int result;
};

template <class Transaction>
Sample Run(const SimControl* card, Transaction transaction) {
  card->ClearRecords();
  long long began = card->NowUs();
  int result = transaction();
  return {harness::Records(card->GetCalls), began, card->NowUs(), result};
}

bool Is(const SimCall& call, int function, int level) {
  return call.function == function && call.args[0] == level;
}

// Two rows for one transaction: its driver calls against the reference, and
// its time (with `sleeps`, up to its last driver call: the rest is the
// sleep).
void AddTransaction(const std::vector<Sample>& samples, const std::string& key,
                    const std::string& name, std::pair<int, int> least,
                    bool sleeps, Report& report) {
  const std::vector<SimCall>& calls = samples.front().calls;
  int settings = 0, lineSamples = 0, failures = 0, varied = 0;
  for (const SimCall& call : calls) {
    int f = call.function;
    settings += f == kDrv_I2CSWSetSCL || f == kDrv_I2CSWSetSDA;
    lineSamples += f == kDrv_I2CSWReadSCL || f == kDrv_I2CSWReadSDA;
  }
  std::vector<double> active;
  for (const Sample& sample : samples) {
    varied += sample.calls.size() != calls.size();
    failures += sample.result != 0;
    long long end = sleeps && !sample.calls.empty() ? sample.calls.back().timeUs
                                                    : sample.returnedUs;
    active.push_back(static_cast<double>(end - sample.beganUs));
  }
  char note[160];
  snprintf(note, sizeof note,
           "least %d line operations (%d with clock stretching); %d calls "
           "with another count, %d failed",
           least.first, least.second, varied, failures);
  report.Row(
      key + "_calls", name + ": driver calls",
      {{"driver_calls", static_cast<double>(calls.size()), 0, "%s"},
       {"line_settings", static_cast<double>(settings), 0, "%s settings"},
       {"line_samples", static_cast<double>(lineSamples), 0, "%s samples"},
       {"least_line_ops", static_cast<double>(least.first), 0, ""}},
      note);
  Summary us = Summarize(active);
  report.Row(key + "_us",
             name.substr(0, name.find('(')) +
                 (sleeps ? ": us outside the 10 ms sleep" : ": us a call"),
             {{"median_us", us.median, 0, "median %s"},
              {"max_us", us.max, 0, "max %s"}},
             std::to_string(us.count) + " calls");
}

// The mean of the middle half: steadier than the mean against rare long
// samples, finer than the median where samples are whole clock ticks.
double InterquartileMean(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  size_t quarter = samples.size() / 4;
  return std::accumulate(samples.begin() + quarter, samples.end() - quarter,
                         0.0) /
         static_cast<double>(samples.size() - 2 * quarter);
}

// The library's bus delay: the gaps between recorded driver calls of the
// reads where a frame pauses, less the other gaps (a driver call and a step
// of the bit engine).
void AddBusDelay(const std::vector<Sample>& reads, Report& report) {
  std::vector<double> paused, plain;
  for (const Sample& read : reads) {
    const std::vector<SimCall>& calls = read.calls;
    size_t start = 0;  // the start condition: SDA low while SCL is high
    while (start < calls.size() && !Is(calls[start], kDrv_I2CSWSetSDA, 0))
      ++start;
    if (start == 0 || start + 1 >= calls.size()) continue;
    std::vector<size_t> pauses = {start - 1};
    int sclLows = 0;
    for (size_t i = start; i + 1 < calls.size(); ++i) {
      if (!Is(calls[i], kDrv_I2CSWSetSCL, 0)) continue;
      ++sclLows;
      if ((sclLows == kPauseAfterAddressAck &&
           Is(calls[i + 1], kDrv_I2CSWSetSCL, 1)) ||
          (sclLows == kPauseAfterMasterAck &&
           Is(calls[i + 1], kDrv_I2CSWSetSDA, 0)))
        pauses.push_back(i);
    }
    if (pauses.size() != 3) continue;  // not the frame expected
    // From the first line call on: after the mode call comes the library's
    // own set-up, not a pause.
    for (size_t i = 1, next = 0; i + 1 < calls.size(); ++i) {
      double gap = static_cast<double>(calls[i + 1].timeUs - calls[i].timeUs);
      if (next < pauses.size() && pauses[next] == i)
        paused.push_back(gap), ++next;
      else if (i != start)
        plain.push_back(gap);
    }
  }
  double pausedUs = InterquartileMean(paused),
         plainUs = InterquartileMean(plain);
  double delayUs = pausedUs - plainUs;
  char note[160];
  snprintf(note, sizeof note,
           "target 5 to 20 us: %s; gaps with a pause %.2f us less gaps "
           "without %.2f us (middle-half means of %d and %d)",
           delayUs >= 5 && delayUs <= 20 ? "met" : "MISSED", pausedUs, plainUs,
           static_cast<int>(paused.size()), static_cast<int>(plain.size()));
  report.Row("bus_delay", "BusDelay", {{"us", delayUs, 1, "%s us"}}, note);
}

void AddPortRead(const SimControl* card, Report& report) {
  // TandorUtl's own guarded probe decides, as it does for the library: where
  // the instruction faults (the NT family; an emulator that raises an
  // illegal instruction for it) no bare read is ever made.
  if (!PortReadsAllowed()) {
    report.NotMeasured("port_read", "one read of port 0x61",
                       "`in al,0x61` faults here");
    return;
  }
  double cpu = ProcessCpuUs();
  long long wall = card->NowUs();
  for (int i = 0; i < kPortReads; ++i) ReadPort61();
  report.Row(
      "port_read", "one read of port 0x61",
      {{"us", static_cast<double>(card->NowUs() - wall) / kPortReads, 1,
        "%s us"},
       {"cpu_us", (ProcessCpuUs() - cpu) / kPortReads, 1, "%s us processor"}},
      "above 2 us TandorUtl pauses on the performance counter instead");
}

}  // namespace

void MeasureTransactions(const SimControl* card, int samples,
                         const std::string& key, const std::string& title,
                         Report& report) {
  report.Section(key, title);
  harness::UtlLibrary utl(harness::BinFile("TandorUtl.dll"));
  if (!utl.complete()) {
    report.NotMeasured("transactions", "TandorUtl's transactions",
                       "TandorUtl.dll cannot be loaded with all its exports");
    return;
  }
  unsigned char code = 0;
  auto read = [&] { return utl->DlkI2CSWReadByte(0x97, &code); };
  auto write = [&] { return utl->DlkI2CSWWrite3(0x96, 2, 0x20); };  // sound on
  Run(card, read);  // the first pause finds out how to pause
  Run(card, write);
  std::vector<Sample> reads, writes;
  for (int i = 0; i < samples; ++i) reads.push_back(Run(card, read));
  for (int i = 0; i < samples; ++i) writes.push_back(Run(card, write));
  AddTransaction(reads, "read", "DlkI2CSWReadByte(0x97)",
                 LeastLineWork(1, true), true, report);
  AddTransaction(writes, "write3", "DlkI2CSWWrite3(0x96, 2, 0x20)",
                 LeastLineWork(3, false), false, report);
  AddBusDelay(reads, report);
  AddPortRead(card, report);
}
