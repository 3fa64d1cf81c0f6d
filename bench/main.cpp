// The benchmark: TandorUtl and the plug-in on the simulated card, measured
// from outside. Prints a table and writes the same figures as JSON.
//
//   bench-win98.exe [--json PATH] [--machine TEXT] [--quick]
//
// Run it as Windows 98 (the file name picks the version under Wine), so
// that the plug-in polls through TandorUtl; its copy bench-win2k.exe, run
// with --utl-only, measures TandorUtl where port reads fault and hands its
// rows over. --quick measures a little of everything, to try it out.

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "bench.h"
#include "harness.h"

namespace {

const char kUtlOnly[] = "--utl-only";
const char kCopyName[] = "bench-win2k.exe";
const DWORD kCopyTimeoutMs = 300000;

}  // namespace

int main(int argc, char** argv) {
  std::string jsonPath = harness::ExeDir() + "..\\bench.json";
  std::string machine = "?";  // what ran it, as the caller describes it
  bool utlOnly = false;
  int samples = 200;  // of each transaction
  PluginPlan plan;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool value = i + 1 < argc;
    if (arg == "--json" && value) {
      jsonPath = argv[++i];
    } else if (arg == "--machine" && value) {
      machine = argv[++i];
    } else if (arg == "--samples" && value) {
      samples = std::max(1, atoi(argv[++i]));
    } else if (arg == kUtlOnly) {
      utlOnly = true;
    } else if (arg == "--quick") {
      samples = 20;
      plan = {8, 2, 2, 2};
    } else {
      fprintf(stderr, "usage: %s [--json PATH] [--machine TEXT] [--quick]\n",
              argv[0]);
      return 2;
    }
  }
  // Windows 95, 98 or Millennium, where the plug-in polls through TandorUtl?
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  bool nine = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  char shown[96];
  snprintf(shown, sizeof shown, "TandorUtl shown as %lu.%lu.%lu, Windows %s",
           version.dwMajorVersion, version.dwMinorVersion,
           version.dwBuildNumber & 0xFFFF, nine ? "9x" : "NT");
  std::string utlTitle =
      shown + (", " + std::to_string(samples) + " calls of each");

  // The plug-in reads its settings from, and logs to, the current folder.
  harness::TempDir folder;
  harness::CurrentDir inFolder(folder.path());

  // Held for the whole run, so that the card, its clock and its records
  // outlive every library that loads and releases the driver by name.
  harness::SimDriver driver;
  const SimControl* card = driver.Load() ? driver.card() : nullptr;
  if (!card) {
    fprintf(stderr, "bench: the simulated driver cannot be loaded\n");
    return 1;
  }
  card->Reset();  // no key, no fault
  // No line trace: a real card keeps none, and nothing here reads it.
  card->SetTracing(0);

  Report report;
  if (utlOnly) {
    MeasureTransactions(card, samples, "utl_nt", utlTitle, report);
    printf("%s", report.Lines().c_str());
    return 0;
  }

  report.Section("machine", "Machine");
  report.Row("machine", "what ran it", {}, machine);
  fprintf(stderr, "bench: TandorUtl, then its copy, then the plug-in\n");
  MeasureTransactions(card, samples, nine ? "utl_9x" : "utl_nt", utlTitle,
                      report);
  if (nine) {
    harness::ProcessResult copy = harness::RunProcess(
        harness::ExeDir() + kCopyName,
        std::string(kUtlOnly) + " --samples " + std::to_string(samples),
        folder.path(), kCopyTimeoutMs);
    report.AddLines(copy.output);
    if (copy.timedOut || copy.exitCode != 0) {
      report.Section("utl_nt", "TandorUtl shown as Windows 2000");
      report.NotMeasured("transactions", kCopyName,
                         "exit code " + std::to_string(copy.exitCode) +
                             (copy.timedOut ? ", timed out: " : ": ") +
                             copy.output);
    }
    MeasurePlugin(card, plan, report);
  } else {
    report.Section("plugin", "The plug-in");
    report.NotMeasured("plugin", "the plug-in",
                       "it polls through TandorUtl only on Windows 95, 98 "
                       "and Millennium: run bench-win98.exe");
  }

  printf("%s", report.Table().c_str());
  harness::WriteText(jsonPath, report.Json());
  if (harness::ReadText(jsonPath) != report.Json()) {
    fprintf(stderr, "bench: cannot write %s\n", jsonPath.c_str());
    return 1;
  }
  printf("Figures written to %s\n", jsonPath.c_str());
  return 0;
}
