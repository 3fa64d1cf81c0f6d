#include "utl_figures_text.h"

#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <type_traits>

namespace {

const char kMark[] = "utl.";

template <class Visit>
void EachSummaryField(const std::string& prefix, Summary& summary,
                      Visit& visit) {
  visit(prefix + "count", summary.count);
  visit(prefix + "median", summary.median);
  visit(prefix + "mean", summary.mean);
  visit(prefix + "min", summary.min);
  visit(prefix + "max", summary.max);
}

template <class Visit>
void EachTransactionField(const std::string& prefix,
                          TransactionFigures& figures, Visit& visit) {
  visit(prefix + "driverCalls", figures.driverCalls);
  visit(prefix + "callsVary", figures.callsVary);
  visit(prefix + "lineSettings", figures.lineSettings);
  visit(prefix + "lineSamples", figures.lineSamples);
  visit(prefix + "failures", figures.failures);
  EachSummaryField(prefix + "activeUs.", figures.activeUs, visit);
  EachSummaryField(prefix + "sleepUs.", figures.sleepUs, visit);
}

// Calls visit(name, field) for every figure.
template <class Visit>
void EachField(UtlFigures& figures, Visit visit) {
  std::string mark = kMark;
  visit(mark + "loaded", figures.loaded);
  visit(mark + "samples", figures.samples);
  EachTransactionField(mark + "read.", figures.read, visit);
  EachTransactionField(mark + "write3.", figures.write3, visit);
  BusDelayFigures& delay = figures.busDelay;
  EachSummaryField(mark + "busDelay.pausedGapUs.", delay.pausedGapUs, visit);
  EachSummaryField(mark + "busDelay.plainGapUs.", delay.plainGapUs, visit);
  visit(mark + "busDelay.pausedGapMeanUs", delay.pausedGapMeanUs);
  visit(mark + "busDelay.plainGapMeanUs", delay.plainGapMeanUs);
  visit(mark + "busDelay.busDelayUs", delay.busDelayUs);
  visit(mark + "busDelay.frames", delay.frames);
  visit(mark + "card.entryFlagReadUs", figures.card.entryFlagReadUs);
  visit(mark + "card.entryFlagReadCpuUs", figures.card.entryFlagReadCpuUs);
}

}  // namespace

std::string UtlFiguresToText(const UtlFigures& figures) {
  UtlFigures copy = figures;
  std::string text;
  EachField(copy, [&text](const std::string& name, auto& value) {
    char line[160];
    snprintf(line, sizeof line, "%s=%.17g\n", name.c_str(),
             static_cast<double>(value));
    text += line;
  });
  return text;
}

bool UtlFiguresFromText(const std::string& text, UtlFigures* figures) {
  std::map<std::string, double> values;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t equals = line.find('=');
    if (line.compare(0, sizeof kMark - 1, kMark) != 0 ||
        equals == std::string::npos)
      continue;
    values[line.substr(0, equals)] = strtod(line.c_str() + equals + 1, nullptr);
  }
  bool complete = true;
  EachField(*figures, [&](const std::string& name, auto& value) {
    auto found = values.find(name);
    if (found == values.end()) {
      complete = false;
      return;
    }
    value =
        static_cast<std::remove_reference_t<decltype(value)>>(found->second);
  });
  return complete;
}
