// The benchmark's shared parts: summaries of samples, this process's
// processor time, the report (a table and the same figures as JSON), and the
// two measurements.
#pragma once

#include <string>
#include <vector>

#include "control_table.h"

struct Summary {
  int count = 0;
  double median = 0, mean = 0, max = 0;
};
Summary Summarize(std::vector<double> samples);  // all 0 for none

// In microseconds. The system counts it in clock ticks (10 to 20 ms under
// Wine), so take it over stretches of seconds.
double ProcessCpuUs();

// A figure of a row: its JSON name (with the unit) and how the table shows
// it, "%s" for the value ("median %s ms"; empty: in the JSON only).
struct Figure {
  std::string name;
  double value;
  int decimals;
  std::string shown;
};

// Sections of rows. A row shows a label, its figures and a note; in the
// JSON it is an object under its key in its section's object.
class Report {
 public:
  void Section(const std::string& key, const std::string& title);
  void Row(const std::string& key, const std::string& label,
           const std::vector<Figure>& figures, const std::string& note = "");
  // A figure that this machine cannot give, and why.
  void NotMeasured(const std::string& key, const std::string& label,
                   const std::string& why);
  std::string Table() const;
  std::string Json() const;
  // The rows as lines that AddLines takes back, skipping other lines: how a
  // copy of this program shown another Windows version hands them over.
  std::string Lines() const;
  void AddLines(const std::string& text);

 private:
  std::string sectionKey_ = "figures", sectionTitle_ = "Figures";
  // Each: section key, section title, key, label, shown, JSON, note.
  std::vector<std::vector<std::string>> rows_;
};

// TandorUtl's two transactions that the plug-in makes, `samples` calls of
// each, its bus delay and what a port read costs, in a section of its own.
void MeasureTransactions(const SimControl* card, int samples,
                         const std::string& key, const std::string& title,
                         Report& report);

struct PluginPlan {
  int presses = 60, stopsPerCase = 5, cpuSeconds = 10, cadenceHolds = 5;
};

// The plug-in as a host and its user see it, this program being the host:
// key latency, Stop, processor time, held-key cadence. Runs in the current
// folder, which takes the settings file and the log.
void MeasurePlugin(const SimControl* card, const PluginPlan& plan,
                   Report& report);
