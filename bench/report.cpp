#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "bench.h"
#include "text.h"

namespace {

enum Field { kSectionKey, kSectionTitle, kKey, kLabel, kShown, kJson, kNote };
const size_t kFields = 7;
const char kLineMark[] = "bench-row\t";

// Control characters become spaces: they would break the table, the lines
// handed over (tab-separated) and, but for the line end and the tab,
// harness::Quoted's JSON, which is then JSON's own quoting.
std::string Clean(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

}  // namespace

Summary Summarize(std::vector<double> samples) {
  Summary summary;
  if (samples.empty()) return summary;
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  summary.count = static_cast<int>(n);
  summary.median = (samples[(n - 1) / 2] + samples[n / 2]) / 2;
  summary.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / n;
  summary.max = samples.back();
  return summary;
}

double ProcessCpuUs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
  ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
  return static_cast<double>(k.QuadPart + u.QuadPart) / 10;  // 100 ns ticks
}

void Report::Section(const std::string& key, const std::string& title) {
  sectionKey_ = key;
  sectionTitle_ = Clean(title);
}

void Report::Row(const std::string& key, const std::string& label,
                 const std::vector<Figure>& figures, const std::string& note) {
  std::string shown, json;
  for (const Figure& figure : figures) {
    char value[64] = "null";
    if (std::isfinite(figure.value))
      snprintf(value, sizeof value, "%.*f", figure.decimals, figure.value);
    json += ", " + harness::Quoted(figure.name) + ": " + value;
    size_t at = figure.shown.find("%s");
    if (at == std::string::npos) continue;
    shown += (shown.empty() ? "" : ", ") +
             std::string(figure.shown).replace(at, 2, value);
  }
  rows_.push_back({sectionKey_, sectionTitle_, key, Clean(label), Clean(shown),
                   json, Clean(note)});
}

void Report::NotMeasured(const std::string& key, const std::string& label,
                         const std::string& why) {
  rows_.push_back({sectionKey_, sectionTitle_, key, Clean(label),
                   "not measured", ", \"not_measured\": true", Clean(why)});
}

std::string Report::Table() const {
  std::string table;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const std::vector<std::string>& row = rows_[i];
    if (i == 0 || row[kSectionKey] != rows_[i - 1][kSectionKey])
      table += (i ? "\n" : "") + row[kSectionTitle] + "\n";
    char line[1024];
    snprintf(line, sizeof line, "  %-44s %-30s %s", row[kLabel].c_str(),
             row[kShown].c_str(), row[kNote].c_str());
    std::string text = line;
    table += text.erase(text.find_last_not_of(' ') + 1) + "\n";
  }
  return table;
}

std::string Report::Json() const {
  std::string json = "{";
  for (size_t i = 0; i < rows_.size(); ++i) {
    const std::vector<std::string>& row = rows_[i];
    if (i == 0 || row[kSectionKey] != rows_[i - 1][kSectionKey])
      json += std::string(i ? "\n  }," : "") + "\n  " +
              harness::Quoted(row[kSectionKey]) +
              ": {\n    \"title\": " + harness::Quoted(row[kSectionTitle]);
    json += ",\n    " + harness::Quoted(row[kKey]) +
            ": {\"label\": " + harness::Quoted(row[kLabel]) + row[kJson];
    if (!row[kNote].empty())
      json += ", \"note\": " + harness::Quoted(row[kNote]);
    json += "}";
  }
  return json + (rows_.empty() ? "" : "\n  }") + "\n}\n";
}

std::string Report::Lines() const {
  std::string text;
  for (const std::vector<std::string>& row : rows_) {
    text += kLineMark;
    for (size_t f = 0; f < kFields; ++f)
      text += row[f] + (f + 1 < kFields ? "\t" : "\n");
  }
  return text;
}

void Report::AddLines(const std::string& text) {
  for (const std::string& line : harness::Lines(text)) {
    if (line.compare(0, sizeof kLineMark - 1, kLineMark) != 0) continue;
    std::vector<std::string> row(1);
    for (size_t at = sizeof kLineMark - 1; at < line.size(); ++at) {
      if (line[at] == '\t')
        row.emplace_back();
      else
        row.back() += line[at];
    }
    if (row.size() == kFields) rows_.push_back(row);
  }
}
