// The plug-in on Windows 2000, where its back end is "wdmI2cDll.dll"
// (here the simulated one, serving the same simulated card).
#include "remote_fixture.h"

using namespace remotetest;
using namespace testsupport;

namespace {

class RemoteWdm : public PluginTest {};

std::string Windows2000VersionLine() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  char line[256];
  snprintf(line, sizeof line,
           "> Windows Version - Microsoft Windows 2000  version %lu.%lu %s "
           "(Build %lu)",
           version.dwMajorVersion, version.dwMinorVersion, version.szCSDVersion,
           version.dwBuildNumber & 0xFFFF);
  return line;
}

TEST_F(RemoteWdm, BindsWdmI2cAndNotTandorUtl) {
  WriteSettings(Settings());
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(7u, lines.size()) << LogText();
  EXPECT_EQ(Windows2000VersionLine(), lines[4]);
  EXPECT_EQ("> Loading wdmI2cDll.dll ...   Ok!", lines[5]);
  EXPECT_EQ("> Import finctions ...   Ok!", lines[6]);
  EXPECT_NE(nullptr, GetModuleHandleA("wdmI2cDll.dll"));
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  EXPECT_EQ(0u, device->Release());
}

TEST_F(RemoteWdm, KeysAndSoundTravelWithoutAnyEntryFlag) {
  WriteSettings(Settings());
  std::unique_ptr<HostWindow> window(new HostWindow);
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  ASSERT_TRUE(WaitForSoundWrites(1));
  sim().PressKey(18);
  ASSERT_TRUE(sink.WaitForKeys(1));
  sim().ReleaseKey();
  window.reset();
  ASSERT_TRUE(WaitForSoundWrites(5));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());

  EXPECT_EQ("Key_Power", sink.events()[0].name);
  EXPECT_EQ("Power", sink.events()[0].label);
  EXPECT_TRUE(LogHas("> Pressed key code 18"));
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_EQ(9u, writes.size());
  EXPECT_EQ(0x20, writes[0].value);
  ExpectSoundOff(writes, 1);
  ExpectSoundOff(writes, 5);
  for (const SimSoundWrite& write : writes) EXPECT_EQ(1, write.viaWdm);
  for (const SimKeyRead& read : KeyReads()) EXPECT_EQ(1, read.viaWdm);
  // No shared region: nothing of TandorUtl was ever loaded.
  EXPECT_EQ(-1, EntryFlagNow());
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
}

// On this back end the read's result is not looked at: the code variable,
// preset to 0, is taken as it is after the call.
class RemoteWdmReads : public PluginTest,
                       public ::testing::WithParamInterface<int> {};

TEST_P(RemoteWdmReads, TakeTheVariableAsItIsAfterTheCall) {
  WriteSettings(Settings());
  IRemoteDevice* device = Create();
  ASSERT_NE(nullptr, device);
  CountingHost host;
  RecordingSink sink;
  SimFault fault = {GetParam(), -1, 1, -1, -1, 0};
  ASSERT_GT(sim().AddFault(&fault), 0);
  ASSERT_EQ(S_OK, device->Start(&sink, &host));
  ASSERT_TRUE(sink.WaitForKeys(1));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ("Key_0", sink.events()[0].name);
  EXPECT_EQ("0", sink.events()[0].label);
  EXPECT_TRUE(LogHas("> Pressed key code 0"));
}

INSTANTIATE_TEST_SUITE_P(RemoteWdmFaults, RemoteWdmReads,
                         ::testing::Values(SIM_FAULT_WDM_READ_UNTOUCHED,
                                           SIM_FAULT_WDM_READ_FAILS));

}  // namespace
