#include "remote_fixture.h"

#include <memory>

#include "driverApi.h"

namespace remotetest {

PluginTest::PluginTest(const char* pluginFile) {
  if (driver_.Load()) card_ = driver_.card();
  plugin_.Load(BinFile(pluginFile), &loadError_);
}

void PluginTest::SetUp() {
  ASSERT_TRUE(driver_.held()) << "cannot load the simulated card";
  ASSERT_NE(nullptr, card_);
  card_->Reset();
  ASSERT_TRUE(plugin_.loaded()) << loadError_;
}

void PluginTest::Create() {
  device_ = plugin_.CreateObject();
  ASSERT_NE(nullptr, device_) << "GetInterfacePtr";
}

void PluginTest::StartWith(IKeyEventSink* sink, IRemoteHost* host) {
  ASSERT_NO_FATAL_FAILURE(Create());
  HRESULT started = device_->Start(sink, host);
  if (started != S_OK) device_->Release();
  ASSERT_EQ(S_OK, started) << "Start";
}

void PluginTest::RunSession(const Settings& settings,
                            const std::vector<int>& keys) {
  std::unique_ptr<HostWindow> window(new HostWindow);
  ASSERT_NO_FATAL_FAILURE(StartNew(settings));
  ASSERT_TRUE(WaitForSoundWrites(1)) << "no sound on";
  for (int code : keys) {
    size_t delivered = sink_.size();
    card_->PressKey(code);
    ASSERT_TRUE(sink_.WaitForKeys(delivered + 1)) << "key " << code;
    card_->ReleaseKey();
  }
  window.reset();
  ASSERT_TRUE(WaitForSoundWrites(5)) << "no sound off";
  StopAndRelease(device_);
}

void PluginTest::ExpectSoundOnThenOff(size_t offs) const {
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_EQ(1 + 4 * offs, writes.size());
  EXPECT_EQ(0x20, writes[0].value);
  for (size_t off = 0; off < offs; ++off) ExpectSoundOff(writes, 1 + 4 * off);
}

int PluginTest::ReadTransactions() const {
  int reads = 0;
  for (const SimCall& call : Records(card_->GetCalls))
    if (call.function == kDrv_I2CInitSWMode && call.args[0] == 6000) ++reads;
  return reads;
}

static const char kChildVariable[] = "TANDOR_REMOTE_CHILD";

bool InChildMode() {
  char value[8];
  DWORD length = GetEnvironmentVariableA(kChildVariable, value, sizeof value);
  return length > 0 && length < sizeof value;
}

ProcessResult RunChildTest(const std::string& test, const std::string& dir,
                           std::vector<std::string> env) {
  env.push_back(std::string(kChildVariable) + "=1");
  return RunProcess(ModulePath(nullptr), "--gtest_filter=" + test, dir, 30000,
                    env);
}

std::string VersionLine(const std::string& platformName) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  return testsupport::VersionLine(platformName, version.dwMajorVersion,
                                  version.dwMinorVersion, version.szCSDVersion,
                                  version.dwBuildNumber);
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
