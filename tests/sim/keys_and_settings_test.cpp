// Keys held by hand or by script, and the SIMCARD settings of a driver that
// is being loaded.
#include <windows.h>

#include "sim_fixture.h"
#include "sim_settings.h"
#include "harness.h"

namespace simtest {
namespace {

using Keys = SimTest;

TEST_F(Keys, PressedAndReleasedByHand) {
  EXPECT_EQ(sim_->HeldKey(), -1);
  sim_->PressKey(0x12);
  EXPECT_EQ(sim_->HeldKey(), 0x12);
  sim_->PressKey(0);
  EXPECT_EQ(sim_->HeldKey(), 0) << "code 0 is a key";
  sim_->ReleaseKey();
  EXPECT_EQ(sim_->HeldKey(), -1);
  sim_->PressKey(0x1FF);
  EXPECT_EQ(sim_->HeldKey(), 0xFF);
  sim_->PressKey(-1);
  EXPECT_EQ(sim_->HeldKey(), -1);
}

// Watched as it plays: the keys come in the script's order, none before its
// time. (Sleeping to a step's time and asking would need the test never to
// oversleep by more than a step's length.)
TEST_F(Keys, ScriptIsFollowedAsTimePassesAndHoldsNoKeyBeforeItsFirstStep) {
  const SimKeyStep script[] = {{0, 5}, {300, -1}, {600, 7}, {600000, 9}};
  int64_t startUs = sim_->NowUs();
  sim_->PlayKeyScript(script, 4);
  std::vector<int> seen;
  while (seen.empty() || seen.back() != 7) {
    int held = sim_->HeldKey();
    int64_t elapsedMs = (sim_->NowUs() - startUs) / 1000;
    if (seen.empty() || seen.back() != held) {
      seen.push_back(held);
      if (held == -1) {
        EXPECT_GE(elapsedMs, 300);
      }
      if (held == 7) {
        EXPECT_GE(elapsedMs, 600);
      }
    }
    ASSERT_LT(elapsedMs, 60000) << "the script stopped at " << held;
    Sleep(1);
  }
  EXPECT_EQ(seen, (std::vector<int>{5, -1, 7}));
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
  EXPECT_EQ(value, 7);

  sim_->PressKey(3);  // ends the script
  EXPECT_EQ(sim_->HeldKey(), 3);

  const SimKeyStep late[] = {{600000, 9}};
  sim_->PlayKeyScript(late, 1);
  EXPECT_EQ(sim_->HeldKey(), -1) << "the pressed key is gone";
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
  EXPECT_EQ(value, 0xAA);
}

TEST(SimSettings, EverySettingIsUnderstoodAndEmptyTextMeansNothing) {
  const sim::SimSettings settings = sim::ParseSimSettings(
      " i2c_init_ok=0; init_sw_mode = 0x10;keys=0:18,150:-1 ;"
      "fault=1:2:3:-1:-1:0;vcd=C:\\trace.vcd;;bogus;keys=1:x;speed=3");
  // Every field of each fault, in SimFault's order, and each key step.
  std::vector<std::vector<int>> faults, keys;
  for (const SimFault& f : settings.faults)
    faults.push_back(
        {f.kind, f.transaction, f.transactions, f.call, f.level, f.value});
  for (const SimKeyStep& step : settings.keys)
    keys.push_back({step.atMs, step.code});
  EXPECT_EQ(faults, (std::vector<std::vector<int>>{
                        {SIM_FAULT_I2C_INIT_OK_RESULT, 0, -1, -1, -1, 0},
                        {SIM_FAULT_INIT_SW_MODE_RESULT, 0, -1, -1, -1, 16},
                        {SIM_FAULT_NACK_BYTE, 2, 3, -1, -1, 0}}));
  EXPECT_EQ(keys, (std::vector<std::vector<int>>{{0, 18}, {150, -1}}));
  EXPECT_EQ(settings.vcdPath, "C:\\trace.vcd");
  EXPECT_EQ(settings.rejected,
            (std::vector<std::string>{"bogus", "keys=1:x", "speed=3"}));

  const sim::SimSettings none = sim::ParseSimSettings("");
  EXPECT_TRUE(none.faults.empty());
  EXPECT_TRUE(none.keys.empty());
  EXPECT_TRUE(none.vcdPath.empty());
  EXPECT_TRUE(none.rejected.empty());
}

// A copy of the driver in a folder of its own is a second module with a
// card of its own, which reads SIMCARD as it loads.
TEST(SimSettings, AppliedWhenTheDriverLoads) {
  harness::TempDir dir;
  ASSERT_TRUE(
      harness::CopyInto(harness::ExeDir() + "BtVid_32.Dll", dir.path()));
  const std::string vcd = dir.File("unload.vcd");
  const std::string settings =
      "i2c_init_ok=0;init_sw_mode=3;keys=0:18;vcd=" + vcd;
  SetEnvironmentVariableA(SIMCARD_ENV, settings.c_str());
  HMODULE driver = LoadLibraryA(dir.File("BtVid_32.Dll").c_str());
  SetEnvironmentVariableA(SIMCARD_ENV, nullptr);
  ASSERT_NE(driver, nullptr);

  const SimControl* sim = Export<SimGetControlFn>(driver, "SimGetControl")();
  EXPECT_EQ(Export<int(__cdecl*)(void)>(driver, "I2CIsInitOK")(), 0);
  EXPECT_EQ(Export<int(__cdecl*)(int)>(driver, "I2CInitSWMode")(6000), 3);
  EXPECT_EQ(sim->HeldKey(), 18);
  Export<int(__cdecl*)(int)>(driver, "I2CSWSetSCL")(0);
  FreeLibrary(driver);

  const std::string trace = harness::ReadText(vcd);
  EXPECT_NE(trace.find("$enddefinitions"), std::string::npos);
  EXPECT_NE(trace.find("\n0!\n"), std::string::npos) << "SCL went low";
}

}  // namespace
}  // namespace simtest
