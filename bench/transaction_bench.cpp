#include "transaction_bench.h"

#include <windows.h>

#include <vector>

#include "driverApi.h"
#include "entry_flag_probe.h"
#include "process_time.h"
#include "sim_driver.h"
#include "utl_binding.h"

namespace {

const int kReceiverRead = 0x97;
const int kReceiverWrite = 0x96;
const int kSoundSubaddress = 2;
const int kSoundOn = 0x20;

// Where a read frame pauses: before the start condition's falling SDA (and
// after it, which is left out, see BusDelayFigures), and, counted in the
// library's SCL-low settings, after the address byte's acknowledge clock
// (the 10th: one in the start, eight bits, the ninth clock) and after the
// master's acknowledge (the 19th: eight more bits, then the acknowledge
// clock).
const int kPauseAfterAddressAck = 10;
const int kPauseAfterMasterAck = 19;

struct Sample {
  std::vector<SimCall> calls;
  long long beganUs = 0;
  long long returnedUs = 0;
  int result = 0;
};

bool Is(const SimCall& call, int function, int level) {
  return call.function == function && call.args[0] == level;
}

void Tally(const std::vector<SimCall>& calls, TransactionFigures& figures) {
  figures.lineSettings = figures.lineSamples = 0;
  for (const SimCall& call : calls) {
    if (call.function == kDrv_I2CSWSetSCL || call.function == kDrv_I2CSWSetSDA)
      ++figures.lineSettings;
    if (call.function == kDrv_I2CSWReadSCL ||
        call.function == kDrv_I2CSWReadSDA)
      ++figures.lineSamples;
  }
}

// Counts and times of the samples. With `sleeps`, the time from the last
// driver call to the return is the sleep, else part of the work.
TransactionFigures Figures(const std::vector<Sample>& samples, bool sleeps) {
  TransactionFigures figures;
  std::vector<double> active, slept;
  for (const Sample& sample : samples) {
    int calls = static_cast<int>(sample.calls.size());
    if (!active.empty() && calls != figures.driverCalls)
      figures.callsVary = true;
    figures.driverCalls = calls;
    if (sample.result != 0) ++figures.failures;
    Tally(sample.calls, figures);
    long long lastCallUs =
        sample.calls.empty() ? sample.beganUs : sample.calls.back().timeUs;
    long long endUs = sleeps ? lastCallUs : sample.returnedUs;
    active.push_back(static_cast<double>(endUs - sample.beganUs));
    if (sleeps)
      slept.push_back(static_cast<double>(sample.returnedUs - lastCallUs));
  }
  figures.activeUs = Summarize(active);
  figures.sleepUs = Summarize(slept);
  return figures;
}

// Indexes of the calls after which a read frame pauses, or none when the
// calls do not have the shape of a read frame without clock stretching.
std::vector<size_t> ReadFramePauses(const std::vector<SimCall>& calls) {
  std::vector<size_t> pauses;
  size_t start = 0;  // the start condition: SDA low while SCL is high
  while (start < calls.size() && !Is(calls[start], kDrv_I2CSWSetSDA, 0))
    ++start;
  if (start == 0 || start + 1 >= calls.size()) return {};
  pauses.push_back(start - 1);  // before the start condition
  int sclLows = 0;
  for (size_t i = start; i + 1 < calls.size(); ++i) {
    if (!Is(calls[i], kDrv_I2CSWSetSCL, 0)) continue;
    ++sclLows;
    if (sclLows == kPauseAfterAddressAck) {
      if (!Is(calls[i + 1], kDrv_I2CSWSetSCL, 1)) return {};
      pauses.push_back(i);
    } else if (sclLows == kPauseAfterMasterAck) {
      if (!Is(calls[i + 1], kDrv_I2CSWSetSDA, 0)) return {};
      pauses.push_back(i);
    }
  }
  if (pauses.size() != 3) return {};
  return pauses;
}

BusDelayFigures BusDelay(const std::vector<Sample>& reads) {
  BusDelayFigures figures;
  std::vector<double> paused, plain;
  for (const Sample& read : reads) {
    const std::vector<SimCall>& calls = read.calls;
    std::vector<size_t> pauses = ReadFramePauses(calls);
    if (pauses.empty()) continue;
    ++figures.frames;
    size_t startFall = pauses[0] + 1;
    size_t next = 0;
    // From the first line call on: the gap after the mode call holds the
    // library's own set-up, not a pause.
    for (size_t i = 1; i + 1 < calls.size(); ++i) {
      double gap = static_cast<double>(calls[i + 1].timeUs - calls[i].timeUs);
      if (next < pauses.size() && pauses[next] == i) {
        paused.push_back(gap);
        ++next;
      } else if (i != startFall) {
        plain.push_back(gap);
      }
    }
  }
  figures.pausedGapUs = Summarize(paused);
  figures.plainGapUs = Summarize(plain);
  figures.pausedGapMeanUs = InterquartileMean(paused);
  figures.plainGapMeanUs = InterquartileMean(plain);
  figures.busDelayUs = figures.pausedGapMeanUs - figures.plainGapMeanUs;
  return figures;
}

const int kEntryFlagReads = 5000;

CardBookkeeping MeasureBookkeeping() {
  CardBookkeeping figures;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> wall;
  double cpu = ProcessCpuUs();
  for (int i = 0; i < kEntryFlagReads; ++i) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    sim::ReadEntryFlag();
    QueryPerformanceCounter(&after);
    wall.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1e6 /
                   static_cast<double>(frequency.QuadPart));
  }
  figures.entryFlagReadCpuUs = (ProcessCpuUs() - cpu) / kEntryFlagReads;
  figures.entryFlagReadUs = InterquartileMean(wall);
  return figures;
}

template <class Transaction>
Sample Run(const SimControl* card, Transaction transaction) {
  Sample sample;
  card->ClearRecords();
  sample.beganUs = card->NowUs();
  sample.result = transaction();
  sample.returnedUs = card->NowUs();
  sample.calls = harness::Records(card->GetCalls);
  return sample;
}

}  // namespace

UtlFigures MeasureTransactions(const SimControl* card, int samples) {
  UtlFigures figures;
  harness::UtlLibrary utl(harness::UtlPath());
  if (!utl.loaded()) {
    figures.why = "TandorUtl.dll cannot be loaded";
    return figures;
  }
  auto readByte = utl->DlkI2CSWReadByte;
  auto write3 = utl->DlkI2CSWWrite3;
  if (!readByte || !write3) {
    figures.why = "TandorUtl.dll lacks its transactions";
    return figures;
  }
  figures.loaded = true;
  figures.samples = samples;
  card->ClearFaults();
  card->ReleaseKey();

  unsigned char code = 0;
  auto read = [&] { return readByte(kReceiverRead, &code); };
  auto write = [&] {
    return write3(kReceiverWrite, kSoundSubaddress, kSoundOn);
  };
  Run(card, read);  // the first pause finds out how to pause
  Run(card, write);
  std::vector<Sample> reads, writes;
  for (int i = 0; i < samples; ++i) reads.push_back(Run(card, read));
  for (int i = 0; i < samples; ++i) writes.push_back(Run(card, write));
  // The region exists while the library is loaded.
  figures.card = MeasureBookkeeping();
  utl.Unload();

  figures.read = Figures(reads, true);
  figures.write3 = Figures(writes, false);
  figures.busDelay = BusDelay(reads);
  return figures;
}
