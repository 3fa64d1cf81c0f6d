#include "timeline.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The whole of `text` as an integer in [low, high]; `base` as for strtol.
bool ParseInt(const std::string& text, int base, long low, long high,
              int* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long parsed = strtol(text.c_str(), &end, base);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

std::string WithoutComments(const std::string& text) {
  std::string kept;
  bool inComment = false;
  for (char c : text) {
    if (c == '#') inComment = true;
    if (c == '\n') inComment = false;
    if (!inComment) kept += c;
  }
  return kept;
}

// Splits at every character of `separators`, dropping empty pieces.
std::vector<std::string> Split(const std::string& text,
                               const char* separators) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (strchr(separators, c)) {
      if (!piece.empty()) pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

bool Fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

// A schedule's times: up to a day.
const long kLongestMs = 24L * 3600 * 1000;

}  // namespace

bool ParseMs(const std::string& text, long most, int* ms) {
  // Decimal only: a leading zero must not turn a time into octal.
  return text.find_first_not_of("0123456789") == std::string::npos &&
         ParseInt(text, 10, 0, most, ms);
}

bool ParseWindowSchedule(const std::string& text,
                         std::vector<WindowEvent>* events, std::string* error) {
  events->clear();
  if (text == "none") return true;
  for (const std::string& entry : Split(text, ", \t\r\n")) {
    size_t at = entry.find('@');
    std::string action = entry.substr(0, at);
    WindowEvent event{0, action == "open"};
    if (at == std::string::npos || (action != "open" && action != "close") ||
        !ParseMs(entry.substr(at + 1), kLongestMs, &event.atMs)) {
      return Fail(error, "\"" + entry + "\" is not open@MS or close@MS");
    }
    if (!events->empty() && event.atMs < events->back().atMs)
      return Fail(error, "\"" + entry + "\" goes back in time");
    events->push_back(event);
  }
  return true;
}

bool ParseKeyScript(const std::string& text, std::vector<KeyStep>* steps,
                    std::string* error) {
  steps->clear();
  for (const std::string& entry : Split(WithoutComments(text), ", \t\r\n")) {
    size_t colon = entry.find(':');
    KeyStep step{0, 0};
    if (colon == std::string::npos ||
        !ParseMs(entry.substr(0, colon), kLongestMs, &step.atMs) ||
        !ParseInt(entry.substr(colon + 1), 0, -1, 255, &step.code)) {
      return Fail(
          error, "\"" + entry + "\" is not MS:CODE (CODE 0..255, -1 releases)");
    }
    if (!steps->empty() && step.atMs < steps->back().atMs)
      return Fail(error, "\"" + entry + "\" goes back in time");
    steps->push_back(step);
  }
  return true;
}
