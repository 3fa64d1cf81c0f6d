#include "host_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace system_test {

HostRun::HostRun(const harness::Installation& installation,
                 const std::string& args, const std::vector<std::string>& env)
    : process(installation.Run("host.exe", args, env)),
      lines(harness::Lines(process.output)),
      log(harness::ReadText(installation.File("MiraboRemote.log"))) {
  EXPECT_TRUE(installation.complete()) << installation.missing();
  // "    532 ms  sound on (0x20)" -> {532, "sound on (0x20)"}.
  for (const std::string& line : lines) {
    size_t unit = line.find(" ms  ");
    size_t digits = line.find_first_not_of(' ');
    if (unit == std::string::npos || digits >= unit ||
        line.find_first_not_of("-0123456789", digits) != unit)
      continue;
    events.push_back(
        {strtol(line.c_str(), nullptr, 10), line.substr(unit + 5)});
  }
}

bool HostRun::HasLine(const std::string& line) const {
  for (const std::string& candidate : lines)
    if (candidate == line) return true;
  return false;
}

std::vector<std::string> HostRun::LinesStarting(
    const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  return found;
}

std::vector<HostEvent> HostRun::EventsStarting(
    const std::string& prefix) const {
  std::vector<HostEvent> found;
  for (const HostEvent& event : events)
    if (event.text.compare(0, prefix.size(), prefix) == 0)
      found.push_back(event);
  return found;
}

HostFolder::HostFolder(const std::string& version, bool backEnds)
    : Installation(version) {
  Add("host.exe").Add("tandor.dll");
  if (backEnds) AddBackEnds();
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size()))
    ++count;
  return count;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace system_test
