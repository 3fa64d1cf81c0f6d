// The benchmark: TandorUtl and the plug-in on the simulated card, measured
// from outside. Prints a table and writes the same figures as JSON.
//
//   bench-win98.exe [--json PATH] [--cpu "processor model"] [--quick]
//
// Run it as Windows 98 (the file name picks the version under Wine), so
// that the plug-in polls through TandorUtl. It runs its copy
// bench-win2k.exe for TandorUtl's figures where port reads fault. --quick
// measures a little of everything, for trying the program out; its figures
// are not the benchmark's.

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "figures_report.h"
#include "machine_info.h"
#include "nt_copy.h"
#include "port_emulation.h"
#include "utl_figures_text.h"
#include "files.h"
#include "sim_driver.h"

namespace {

const int kTransactionSamples = 200;
const int kQuickTransactionSamples = 20;

struct Options {
  std::string jsonPath;
  std::string cpu;
  bool quick = false;
  bool utlOnly = false;  // the copy's part: TandorUtl's figures as text
  int samples = kTransactionSamples;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  options->jsonPath = harness::ExeDir() + "..\\bench.json";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--json" && i + 1 < argc) {
      options->jsonPath = argv[++i];
    } else if (arg == "--cpu" && i + 1 < argc) {
      options->cpu = argv[++i];
    } else if (arg == "--quick") {
      options->quick = true;
      options->samples = kQuickTransactionSamples;
    } else if (arg == BENCH_UTL_ONLY_OPTION) {
      options->utlOnly = true;
    } else if (arg == "--samples" && i + 1 < argc) {
      options->samples = atoi(argv[++i]);
    } else {
      fprintf(stderr, "usage: %s [--json PATH] [--cpu TEXT] [--quick]\n",
              argv[0]);
      return false;
    }
  }
  return true;
}

PluginPlan Plan(bool quick) {
  PluginPlan plan;
  if (quick) {
    plan.presses = 8;
    plan.stopsPerCase = 2;
    plan.cpuSeconds = 2;
    plan.cadenceHolds = 2;
  }
  return plan;
}

void Say(const char* text) {
  fprintf(stderr, "bench: %s\n", text);
}

// Loads the simulated driver from the program's folder and resets the
// card, its line trace off; null, with the reason in `why`, when that
// fails.
const SimControl* PrepareCard(harness::SimDriver* driver, std::string* why) {
  if (!driver->Load() || !driver->card()) {
    *why = "the simulated driver BtVid_32.Dll cannot be loaded";
    return nullptr;
  }
  const SimControl* card = driver->card();
  if (card->size < static_cast<int>(sizeof(SimControl))) {
    *why = "the simulated driver's control table is too old";
    return nullptr;
  }
  card->Reset();
  // No line trace: a real card keeps none, and nothing here reads it.
  card->SetTracing(0);
  return card;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;

  // The plug-in reads its settings from, and logs to, the current folder.
  harness::TempDir folder;
  harness::CurrentDir inFolder(folder.path());

  // Held for the whole run, so that the card, its clock and its records
  // outlive every library that loads and releases the driver by name.
  harness::SimDriver driver;
  std::string why;
  const SimControl* card = PrepareCard(&driver, &why);
  if (!card) {
    fprintf(stderr, "bench: %s\n", why.c_str());
    return 1;
  }

  if (options.utlOnly) {
    printf(
        "%s",
        UtlFiguresToText(MeasureTransactions(card, options.samples)).c_str());
    return 0;
  }

  Say("TandorUtl transactions, as Windows 98 and as Windows 2000");
  UtlFigures shownAs98 = MeasureTransactions(card, options.samples);
  UtlFigures shownAsNt =
      MeasureTransactionsAsNt(folder.path(), options.samples);

  PluginFigures plugin;
  PortReadCost portRead = MeasurePortRead();
  if (IsWindows9x()) {
    Say("plug-in: key latency, Stop, processor time, cadence");
    plugin = MeasurePlugin(card, Plan(options.quick));
  } else {
    plugin.why = "not run as Windows 95/98/Me (run bench-win98.exe)";
  }

  Report report;
  Machine machine = {options.cpu,      HostLoadAverages(), WineVersion(),
                     WindowsVersion(), ProcessorCount(),   Now()};
  AddMachine(report, machine);
  AddTransactions(report, shownAs98, shownAsNt, portRead);
  AddPlugin(report, plugin);

  printf("%s", report.Table().c_str());
  harness::WriteText(options.jsonPath, report.Json());
  if (!harness::FileExists(options.jsonPath)) {
    fprintf(stderr, "bench: cannot write %s\n", options.jsonPath.c_str());
    return 1;
  }
  printf("Figures written to %s\n", options.jsonPath.c_str());
  return 0;
}
