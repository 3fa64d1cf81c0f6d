#include "text.h"

#include <stdio.h>
#include <string.h>

namespace harness {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Quoted(const std::string& text) {
  // Each special character, then the letter that names it after a backslash.
  static const char kSpecial[] = "\"\\\n\r\t", kNamed[] = "\"\\nrt";
  std::string quoted = "\"";
  for (unsigned char c : text) {
    const char* special = c ? strchr(kSpecial, c) : nullptr;
    if (special) {
      quoted += '\\';
      quoted += kNamed[special - kSpecial];
    } else if (c < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\x%02X", c);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

}  // namespace harness
