#include "nt_copy.h"

#include "files.h"
#include "processes.h"
#include "utl_figures_text.h"

namespace {

const char kCopyName[] = "bench-win2k.exe";
const DWORD kCopyTimeoutMs = 120000;

}  // namespace

UtlFigures MeasureTransactionsAsNt(const std::string& folder, int samples) {
  UtlFigures figures;
  std::string args = std::string(BENCH_UTL_ONLY_OPTION) + " --samples " +
                     std::to_string(samples);
  harness::ProcessResult run = harness::RunProcess(
      harness::ExeDir() + kCopyName, args, folder, kCopyTimeoutMs);
  if (run.timedOut || run.exitCode != 0 ||
      !UtlFiguresFromText(run.output, &figures)) {
    figures = UtlFigures();
    figures.why = std::string(kCopyName) + " failed (exit code " +
                  std::to_string(run.exitCode) + "): " + run.output;
  } else if (!figures.loaded) {
    figures.why = std::string(kCopyName) + " could not load TandorUtl.dll";
  }
  return figures;
}
