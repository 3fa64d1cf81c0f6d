// The measured figures laid out as the benchmark's report.
#pragma once

#include <string>

#include "plugin_bench.h"
#include "report.h"
#include "transaction_bench.h"

struct Machine {
  std::string cpu;  // from the command line (the host's /proc/cpuinfo)
  std::string wine;
  std::string windows;
  int processors = 0;
  std::string date;
};

void AddMachine(Report& report, const Machine& machine);
void AddTransactions(Report& report, const UtlFigures& figures);
void AddPlugin(Report& report, const PluginFigures& figures);
