#include "host_sandbox.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace system_test {
namespace {

const DWORD kRunTimeoutMs = 30000;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// "    532 ms  sound on (0x20)" -> {532, "sound on (0x20)"}.
bool ParseEvent(const std::string& line, HostEvent* event) {
  size_t unit = line.find(" ms  ");
  if (unit == std::string::npos || unit == 0) return false;
  std::string number = line.substr(0, unit);
  size_t digits = number.find_first_not_of(' ');
  if (digits == std::string::npos ||
      number.find_first_not_of("-0123456789", digits) != std::string::npos) {
    return false;
  }
  event->ms = strtol(number.c_str(), nullptr, 10);
  event->text = line.substr(unit + 5);
  return true;
}

std::map<std::string, std::string> ParseKeyValues(const std::string& text) {
  std::map<std::string, std::string> values;
  for (const std::string& line : SplitLines(text)) {
    size_t equals = line.find('=');
    if (equals != std::string::npos)
      values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

}  // namespace

bool HostRun::HasLine(const std::string& line) const {
  for (const std::string& candidate : lines) {
    if (candidate == line) return true;
  }
  return false;
}

std::vector<std::string> HostRun::LinesStarting(
    const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

std::vector<HostEvent> HostRun::EventsStarting(
    const std::string& prefix) const {
  std::vector<HostEvent> found;
  for (const HostEvent& event : events) {
    if (event.text.compare(0, prefix.size(), prefix) == 0)
      found.push_back(event);
  }
  return found;
}

HostSandbox::HostSandbox(const std::string& windowsVersion)
    : version_(windowsVersion) {
  CopyFromBin("host.exe", "host-" + version_ + ".exe");
  CopyFromBin("tandor.dll");
}

void HostSandbox::CopyFromBin(const std::string& file,
                              const std::string& newName) {
  ASSERT_TRUE(harness::CopyInto(harness::ExeDir() + file, dir_.path(), newName))
      << "cannot copy " << file << " from " << harness::ExeDir();
}

void HostSandbox::AddTandorUtl() {
  CopyFromBin("TandorUtl.dll");
}

void HostSandbox::AddSimulatedDriver() {
  CopyFromBin("BtVid_32.Dll");
}

void HostSandbox::AddSimulatedWdm() {
  CopyFromBin("wdmI2cDll.dll");
}

void HostSandbox::AddEverything() {
  AddTandorUtl();
  AddSimulatedDriver();
  AddSimulatedWdm();
}

void HostSandbox::AddVariant(const std::string& variant,
                             const std::string& file) {
  CopyFromBin("variants\\" + variant + "\\" + file, file);
}

void HostSandbox::WriteSettings(const std::string& iniBody) {
  harness::WriteSettingsFile(dir_.path(), harness::SettingsSection(iniBody));
}

HostRun HostSandbox::RunHost(const std::string& args,
                             const std::vector<std::string>& env) const {
  HostRun run;
  run.process = harness::RunProcess(dir_.File("host-" + version_ + ".exe"),
                                    args, dir_.path(), kRunTimeoutMs, env);
  run.lines = SplitLines(run.process.output);
  for (const std::string& line : run.lines) {
    HostEvent event;
    if (ParseEvent(line, &event)) run.events.push_back(event);
  }
  run.log = harness::ReadText(dir_.File("MiraboRemote.log"));
  return run;
}

VersionAnswer HostSandbox::RunProbe() const {
  std::string probe = "probe-" + version_ + ".exe";
  VersionAnswer answer;
  if (!harness::CopyInto(harness::ExeDir() + "probe.exe", dir_.path(), probe)) {
    return answer;
  }
  harness::ProcessResult result =
      harness::RunProcess(dir_.File(probe), "", dir_.path(), kRunTimeoutMs);
  std::map<std::string, std::string> values = ParseKeyValues(result.output);
  answer.answered = values["answered"] == "1";
  answer.platform = strtoul(values["platform"].c_str(), nullptr, 10);
  answer.major = strtoul(values["major"].c_str(), nullptr, 10);
  answer.minor = strtoul(values["minor"].c_str(), nullptr, 10);
  answer.build = strtoul(values["build"].c_str(), nullptr, 10);
  answer.csd = values["csd"];
  return answer;
}

}  // namespace system_test
