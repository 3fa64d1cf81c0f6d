// The measured figures laid out as the benchmark's report.
#pragma once

#include <string>

#include "plugin_bench.h"
#include "port_emulation.h"
#include "report.h"
#include "transaction_bench.h"

struct Machine {
  std::string cpu;   // from the command line (the host's /proc/cpuinfo)
  std::string load;  // the host's load averages at the end of the run
  std::string wine;
  std::string windows;
  int processors = 0;
  std::string date;
};

void AddMachine(Report& report, const Machine& machine);
// TandorUtl's figures from this program (shown as Windows 98) and from its
// copy shown as Windows 2000, and what one emulated port read costs here
// (zero when not measured).
void AddTransactions(Report& report, const UtlFigures& shown98,
                     const UtlFigures& nt, const PortReadCost& portRead);
// The plug-in's figures; the cost of a port read tells how much of its
// processor time Wine's port emulation takes.
void AddPlugin(Report& report, const PluginFigures& figures);
