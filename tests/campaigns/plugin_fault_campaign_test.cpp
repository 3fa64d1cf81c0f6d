// Every fault of the simulated card against the running plug-in: a few
// readings of a held key meet the fault, and the plug-in must make of each
// exactly what the read transaction documents (a failed reading is no key,
// a successful one delivers the code read), go on delivering the held key
// afterwards on an idle bus, leave the entry flag at 0 and stop promptly.

#include "card_access.h"
#include "driverApi.h"
#include "fault_cases.h"
#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_test.h"

using namespace harness;
using namespace testsupport;

namespace campaign {
namespace {

const int kHeldCode = 0x13;  // Key_MTS; with bit 0 lost, 0x12 is Key_Power
const char* const kHeldName = "Key_MTS";
const char* const kMaskedName = "Key_Power";
const int kFaultyReadings = 3;
const int kReadingsAfter = 4;
const double kPromptStopMs = 2000;

// The calls of the first whole transaction in `calls`.
std::vector<SimCall> FirstTransaction(const std::vector<SimCall>& calls) {
  std::vector<SimCall> first;
  for (const SimCall& call : calls) {
    if (call.function == kDrv_I2CInitSWMode && !first.empty()) break;
    if (call.function == kDrv_I2CInitSWMode || !first.empty())
      first.push_back(call);
  }
  return first;
}

class CampaignPluginFaults
    : public PluginTest,
      public ::testing::WithParamInterface<SimFaultKind> {
 protected:
  void RunCase(const FaultCase& fault);
};

void CampaignPluginFaults::RunCase(const FaultCase& fault) {
  card_->Reset();
  card_->PressKey(kHeldCode);
  HostApplication host;
  KeyRecorder sink(card_);
  IRemoteDevice* device = StartWith(&sink, &host);
  ASSERT_NE(nullptr, device);
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(flag.open());

  // Two clean readings show what a reading's calls are; the fault then
  // meets the next few readings.
  ASSERT_TRUE(WaitForTransactions(2));
  int first = card_->TransactionCount() + 1;
  SimFault placed = FaultOn(
      fault.kind, first, kFaultyReadings,
      ResolveCall(fault, FirstTransaction(harness::Records(card_->GetCalls))),
      fault.level, fault.value);
  ASSERT_GT(card_->AddFault(&placed), 0);
  // The first clean reading may have to free a device left on the bus
  // (which the devices count as a violation); the readings after it must
  // add none.
  int firstClean = first + kFaultyReadings;
  EXPECT_TRUE(WaitForTransactions(firstClean + 2));
  int violations = card_->ViolationCount();
  EXPECT_TRUE(WaitForTransactions(firstClean + 2 + kReadingsAfter));

  EXPECT_LT(TimedStop(device), kPromptStopMs);
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(1, host.count());
  EXPECT_EQ(1, sink.count());
  EXPECT_EQ(0, flag.value());
  EXPECT_EQ(1, card_->Scl());
  EXPECT_EQ(1, card_->Sda());
  EXPECT_EQ(violations, card_->ViolationCount()) << card_->FirstViolation();

  // Every reading delivers what it read, except the faulty ones that
  // fail; every delivery is the held key, or what the fault makes of it.
  int readings = ReadTransactions();
  bool faultyFail = fault.result[kReadByte] != 0;
  int expectedDeliveries = readings - (faultyFail ? kFaultyReadings : 0);
  int masked = 0;
  std::vector<KeyEvent> deliveries = sink.events();
  for (const KeyEvent& delivery : deliveries) {
    if (fault.readMask != 0xFF && delivery.name == kMaskedName) {
      ++masked;
    } else {
      EXPECT_EQ(kHeldName, delivery.name);
    }
  }
  EXPECT_EQ(expectedDeliveries, static_cast<int>(deliveries.size()))
      << readings << " readings";
  if (fault.readMask != 0xFF) {
    EXPECT_EQ(kFaultyReadings, masked);
  }
}

TEST_P(CampaignPluginFaults, ReadingsMakeWhatTheTransactionDocuments) {
  WriteSettings(Settings(5, 5));
  std::vector<FaultCase> cases = CasesOf(GetParam());
  ASSERT_FALSE(cases.empty());
  for (const FaultCase& fault : cases) {
    SCOPED_TRACE(fault.what);
    RunCase(fault);
    if (HasFatalFailure()) return;
  }
}

std::string KindParamName(const ::testing::TestParamInfo<SimFaultKind>& info) {
  return KindName(info.param);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, CampaignPluginFaults,
                         ::testing::ValuesIn(AllFaultKinds()), KindParamName);

}  // namespace
}  // namespace campaign
