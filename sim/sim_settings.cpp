#include "sim_settings.h"

#include <stdlib.h>

namespace sim {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t begin = 0;
  for (;;) {
    const size_t end = text.find(separator, begin);
    parts.push_back(text.substr(begin, end - begin));
    if (end == std::string::npos) return parts;
    begin = end + 1;
  }
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A whole decimal or 0x-hex number, optionally negative.
bool ParseNumber(const std::string& text, int* value) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  const size_t digits = trimmed[0] == '-' ? 1 : 0;
  const bool hex = trimmed.compare(digits, 2, "0x") == 0 ||
                   trimmed.compare(digits, 2, "0X") == 0;
  char* end = nullptr;
  const long number = strtol(trimmed.c_str(), &end, hex ? 16 : 10);
  if (*end != '\0') return false;
  *value = static_cast<int>(number);
  return true;
}

bool ParseNumbers(const std::string& text, char separator, size_t count,
                  int* values) {
  const std::vector<std::string> parts = Split(text, separator);
  if (parts.size() != count) return false;
  for (size_t i = 0; i < count; ++i)
    if (!ParseNumber(parts[i], &values[i])) return false;
  return true;
}

bool ApplySetting(const std::string& name, const std::string& value,
                  SimSettings* settings) {
  int number;
  const int resultFault = name == "i2c_init_ok" ? SIM_FAULT_I2C_INIT_OK_RESULT
                          : name == "init_sw_mode"
                              ? SIM_FAULT_INIT_SW_MODE_RESULT
                              : 0;
  if (resultFault && ParseNumber(value, &number)) {
    // From the first transaction on, for every call.
    settings->faults.push_back(SimFault{resultFault, 0, -1, -1, -1, number});
    return true;
  }
  if (name == "keys") {
    std::vector<SimKeyStep> keys;
    for (const std::string& step : Split(value, ',')) {
      int fields[2];
      if (!ParseNumbers(step, ':', 2, fields)) return false;
      keys.push_back({fields[0], fields[1]});
    }
    settings->keys = keys;
    return true;
  }
  if (name == "fault") {
    int f[6];
    if (!ParseNumbers(value, ':', 6, f)) return false;
    settings->faults.push_back(SimFault{f[0], f[1], f[2], f[3], f[4], f[5]});
    return true;
  }
  if (name == "vcd" && !value.empty()) {
    settings->vcdPath = value;
    return true;
  }
  return false;
}

}  // namespace

SimSettings ParseSimSettings(const std::string& text) {
  SimSettings settings;
  for (const std::string& part : Split(text, ';')) {
    const std::string setting = Trim(part);
    if (setting.empty()) continue;
    const size_t equals = setting.find('=');
    const bool understood =
        equals != std::string::npos &&
        ApplySetting(Trim(setting.substr(0, equals)),
                     Trim(setting.substr(equals + 1)), &settings);
    if (!understood) settings.rejected.push_back(setting);
  }
  return settings;
}

}  // namespace sim
