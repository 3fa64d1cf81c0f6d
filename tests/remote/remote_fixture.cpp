#include "remote_fixture.h"

#include <stdio.h>

using namespace harness;

namespace remotetest {

static const char kChildVariable[] = "TANDOR_REMOTE_CHILD";

bool InChildMode() {
  char value[8];
  DWORD length = GetEnvironmentVariableA(kChildVariable, value, sizeof value);
  return length > 0 && length < sizeof value;
}

ProcessResult RunChildTest(const std::string& test, const std::string& dir,
                           std::vector<std::string> env) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  env.push_back(std::string(kChildVariable) + "=1");
  return RunProcess(exe, "--gtest_filter=" + test, dir, 30000, env);
}

ScopedVariable::ScopedVariable(const char* name, const char* value)
    : name_(name) {
  SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableA(name_.c_str(), nullptr);
}

std::string VersionLine(const std::string& platformName) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  char tail[256];
  snprintf(tail, sizeof tail, " version %lu.%lu %s (Build %lu)",
           version.dwMajorVersion, version.dwMinorVersion, version.szCSDVersion,
           version.dwBuildNumber & 0xFFFF);
  return "> Windows Version - " + platformName + tail;
}

void ExpectSoundOff(const std::vector<SimSoundWrite>& writes, size_t first) {
  ASSERT_GE(writes.size(), first + 4);
  const SimSoundWrite* off = &writes[first];
  EXPECT_EQ(0x10, off[0].value);
  EXPECT_EQ(0x10, off[1].value);
  EXPECT_EQ(0x40, off[2].value);
  EXPECT_EQ(0x40, off[3].value);
  EXPECT_GE(off[1].timeUs - off[0].timeUs, 20000 - kSlackUs);
  EXPECT_GE(off[2].timeUs - off[1].timeUs, 1000 - kSlackUs / 4);
  EXPECT_GE(off[3].timeUs - off[2].timeUs, 20000 - kSlackUs);
}

}  // namespace remotetest
