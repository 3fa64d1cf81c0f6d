// Text as the tools and tests show and compare it.
#pragma once

#include <string>
#include <vector>

namespace harness {

// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string> Lines(const std::string& text);

// `text` in double quotes with C escapes for quotes, backslashes and control
// characters, so that a line feed inside shows as \n.
std::string Quoted(const std::string& text);

}  // namespace harness
