#include "report.h"

#include <stdio.h>

namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string PadRight(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

void Report::Section(const std::string& key, const std::string& title) {
  parts_.push_back({key, title, {}});
}

Report::Part& Report::Current() {
  if (parts_.empty()) Section("figures", "Figures");
  return parts_.back();
}

void Report::Number(const std::string& key, const std::string& label,
                    double value, int decimals, const std::string& unit,
                    const std::string& note) {
  std::string shown = Fixed(value, decimals);
  if (!unit.empty()) shown += " " + unit;
  Current().figures.push_back(
      {key, label, shown, Fixed(value, decimals), note});
}

void Report::Text(const std::string& key, const std::string& label,
                  const std::string& value, const std::string& note) {
  Current().figures.push_back({key, label, value, JsonString(value), note});
}

std::string Report::Table() const {
  std::string table;
  for (const Part& part : parts_) {
    table += part.title + "\n";
    for (const Figure& figure : part.figures) {
      std::string line =
          "  " + PadRight(figure.label, 44) + " " + PadRight(figure.shown, 14);
      if (!figure.note.empty()) line += "  " + figure.note;
      while (!line.empty() && line.back() == ' ') line.pop_back();
      table += line + "\n";
    }
    table += "\n";
  }
  return table;
}

std::string Report::Json() const {
  std::string json = "{\n";
  for (size_t p = 0; p < parts_.size(); ++p) {
    const Part& part = parts_[p];
    json += "  " + JsonString(part.key) + ": {\n";
    json += "    \"title\": " + JsonString(part.title);
    for (const Figure& figure : part.figures) {
      json += ",\n    " + JsonString(figure.key) + ": " + figure.json;
      if (!figure.note.empty())
        json += ",\n    " + JsonString(figure.key + "_note") + ": " +
                JsonString(figure.note);
    }
    json += p + 1 < parts_.size() ? "\n  },\n" : "\n  }\n";
  }
  return json + "}\n";
}
