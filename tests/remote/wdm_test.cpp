// The plug-in on Windows 2000, where its back end is "wdmI2cDll.dll"
// (here the simulated one, serving the same simulated card).
#include "remote_fixture.h"

using namespace remotetest;

namespace {

class Wdm : public PluginTest {};

TEST_F(Wdm, BindsWdmI2cAndNotTandorUtl) {
  ASSERT_NO_FATAL_FAILURE(Create());
  EXPECT_EQ(LogOf(kWin2000, Settings()), LogText());
  EXPECT_NE(nullptr, GetModuleHandleA("wdmI2cDll.dll"));
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  EXPECT_EQ(0u, device_->Release());
}

TEST_F(Wdm, KeysAndSoundTravelWithoutAnyEntryFlag) {
  ASSERT_NO_FATAL_FAILURE(RunSession(Settings(), {18}));

  EXPECT_EQ("Key_Power", sink_.events()[0].name);
  EXPECT_EQ("Power", sink_.events()[0].label);
  EXPECT_TRUE(LogHas("> Pressed key code 18"));
  ExpectSoundOnThenOff(SoundWrites(), 2);
  for (const SimSoundWrite& write : SoundWrites()) EXPECT_EQ(1, write.viaWdm);
  for (const SimKeyRead& read : KeyReads()) EXPECT_EQ(1, read.viaWdm);
  // No shared region: nothing of TandorUtl was ever loaded.
  EXPECT_EQ(-1, sim::ReadEntryFlag());
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
}

}  // namespace
