// The benchmark: TandorUtl and the plug-in on the simulated card, measured
// from outside. Prints a table and writes the same figures as JSON.
//
//   bench-win98.exe [--json PATH] [--cpu "processor model"] [--quick]
//
// Run it as Windows 98 (the file name picks the version under Wine), so
// that the plug-in polls through TandorUtl. --quick measures a little of
// everything, for trying the program out; its figures are not the
// benchmark's.

#include <windows.h>

#include <stdio.h>

#include <string>

#include "card_access.h"
#include "figures_report.h"
#include "machine_info.h"
#include "testsupport.h"

namespace {

struct Options {
  std::string jsonPath;
  std::string cpu;
  bool quick = false;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  options->jsonPath = testsupport::ExeDir() + "..\\bench.json";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--json" && i + 1 < argc) {
      options->jsonPath = argv[++i];
    } else if (arg == "--cpu" && i + 1 < argc) {
      options->cpu = argv[++i];
    } else if (arg == "--quick") {
      options->quick = true;
    } else {
      fprintf(stderr, "usage: %s [--json PATH] [--cpu TEXT] [--quick]\n",
              argv[0]);
      return false;
    }
  }
  return true;
}

const int kTransactionSamples = 200;

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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;

  // The plug-in reads its settings from, and logs to, the current folder.
  testsupport::TempDir folder;
  testsupport::CurrentDir inFolder(folder.path());

  HeldCard card;
  std::string why;
  if (!card.Load(&why)) {
    fprintf(stderr, "bench: %s\n", why.c_str());
    return 1;
  }

  Report report;
  Machine machine = {options.cpu, WineVersion(), WindowsVersion(),
                     ProcessorCount(), Now()};
  AddMachine(report, machine);

  Say("TandorUtl transactions");
  AddTransactions(
      report, MeasureTransactions(card.get(),
                                  options.quick ? 20 : kTransactionSamples));

  PluginFigures plugin;
  if (IsWindows9x()) {
    Say("plug-in: key latency, Stop, processor time, cadence");
    plugin = MeasurePlugin(card.get(), Plan(options.quick));
  } else {
    plugin.why = "not run as Windows 95/98/Me (run bench-win98.exe)";
  }
  AddPlugin(report, plugin);

  printf("%s", report.Table().c_str());
  testsupport::WriteText(options.jsonPath, report.Json());
  if (!testsupport::FileExists(options.jsonPath)) {
    fprintf(stderr, "bench: cannot write %s\n", options.jsonPath.c_str());
    return 1;
  }
  printf("Figures written to %s\n", options.jsonPath.c_str());
  return 0;
}
