// The faults that reach the plug-in's other back end, "wdmI2cDll.dll" on
// Windows 2000, which reads whole bytes through its own driver: a receiver
// that does not answer, a read that stores nothing, a read that reports
// failure. The plug-in does not look at that back end's read result and
// presets the code to 0, so each such reading is documented to deliver key
// code 0 ("Key_0"); the line faults of the software bus never reach it.
// After the fault the held key comes again and Stop is prompt.

#include "card_access.h"
#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_test.h"

using namespace harness;
using namespace testsupport;

namespace campaign {
namespace {

const int kHeldCode = 0x13;  // Key_MTS
const int kFaultyReadings = 3;
const double kPromptStopMs = 2000;

struct WdmCase {
  const char* name;
  SimFaultKind kind;
  int value;
  int keyZeroDeliveries;  // per faulty reading: 1, or 0 when unaffected
};

class CampaignWdmFaults : public PluginTest,
                          public ::testing::WithParamInterface<WdmCase> {};

TEST_P(CampaignWdmFaults, FaultyReadingsDeliverKeyCode0ThenTheHeldKey) {
  const WdmCase& fault = GetParam();
  WriteSettings(Settings(5, 5));
  card_->PressKey(kHeldCode);
  HostApplication host;
  KeyRecorder sink(card_);
  IRemoteDevice* device = StartWith(&sink, &host);
  ASSERT_NE(nullptr, device);
  EXPECT_NE(nullptr, GetModuleHandleA("wdmI2cDll.dll"));
  ASSERT_TRUE(WaitForTransactions(2));
  int first = card_->TransactionCount() + 1;
  SimFault placed =
      FaultOn(fault.kind, first, kFaultyReadings, -1, -1, fault.value);
  ASSERT_GT(card_->AddFault(&placed), 0);
  EXPECT_TRUE(WaitForTransactions(first + kFaultyReadings + 3));
  EXPECT_LT(TimedStop(device), kPromptStopMs);
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(1, host.count());
  EXPECT_EQ(1, sink.count());

  int keyZero = 0, held = 0, heldAfter = 0;
  for (const KeyEvent& delivery : sink.events()) {
    if (delivery.name == "Key_0") {
      ++keyZero;
    } else {
      EXPECT_EQ("Key_MTS", delivery.name);
      ++held;
      if (keyZero == kFaultyReadings * fault.keyZeroDeliveries) ++heldAfter;
    }
  }
  EXPECT_EQ(kFaultyReadings * fault.keyZeroDeliveries, keyZero);
  EXPECT_GE(heldAfter, 2) << "the held key after the fault";
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, CampaignWdmFaults,
    ::testing::Values(
        WdmCase{"ReceiverNotAnswering", SIM_FAULT_NACK_BYTE, 0, 1},
        WdmCase{"ReadStoresNothing", SIM_FAULT_WDM_READ_UNTOUCHED, 0, 1},
        WdmCase{"ReadReportsFailure", SIM_FAULT_WDM_READ_FAILS, 1, 1},
        WdmCase{"SclHeldOnTheSoftwareBus", SIM_FAULT_HOLD_SCL, -1, 0},
        WdmCase{"SdaHeldOnTheSoftwareBus", SIM_FAULT_HOLD_SDA, 0, 0}),
    [](const ::testing::TestParamInfo<WdmCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace campaign
