// The benchmark's figures: printed as a table and written as JSON. The
// figures are grouped in sections; each figure has a JSON key (which names
// its unit, e.g. "median_ms"), a label and unit for the table, and an
// optional note (a target, a reference or the settings used).
#pragma once

#include <string>
#include <vector>

class Report {
 public:
  // Begins a section: a JSON object under `key`, a heading in the table.
  void Section(const std::string& key, const std::string& title);
  void Number(const std::string& key, const std::string& label, double value,
              int decimals, const std::string& unit,
              const std::string& note = "");
  void Text(const std::string& key, const std::string& label,
            const std::string& value, const std::string& note = "");

  std::string Table() const;
  std::string Json() const;

 private:
  struct Figure {
    std::string key, label, shown, json, note;
  };
  struct Part {
    std::string key, title;
    std::vector<Figure> figures;
  };
  Part& Current();
  std::vector<Part> parts_;
};

// `text` as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
