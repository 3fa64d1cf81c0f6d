// Every fault of the fault table against the running plug-in. A few
// readings of a held key meet the fault, and the plug-in must make of each
// exactly what the table documents: on TandorUtl what the read transaction
// returns (a failed reading is no key, a successful one delivers the code
// read), on "wdmI2cDll.dll" (Windows 2000) key code 0 where the fault spoils
// the reading. Afterwards the held key comes again on an idle bus, the entry
// flag is 0 and Stop is prompt.

#include "fault_table.h"
#include "remote_fixture.h"

using namespace remotetest;
using testsupport::FaultCase;

namespace {

const int kHeldCode = 0x13;  // Key_MTS; with bit 0 lost, 0x12 is Key_Power
const char* const kHeldName = "Key_MTS";
const char* const kMaskedName = "Key_Power";
const int kFaultyReadings = 3;
const int kReadingsAfter = 4;

class FaultCampaign : public PluginTest {
 protected:
  // Starts polling the held key (5 ms delays), puts `fault` on the readings
  // after the first two, and stops once `after` readings have followed them:
  // the deliveries, and the violations counted from the second clean reading on
  // (the first may have to free a device the fault left on the bus).
  // TandorUtl's entry flag, where the back end has one, ends at 0.
  std::vector<KeyEvent> RunFault(const FaultCase& fault, int after,
                                 bool entryFlag, int* violationsAfter) {
    card_->Reset();
    WriteSettings(Settings(5, 5));
    card_->PressKey(kHeldCode);
    sink_.Clear();
    StartWith(&sink_, &host_);
    if (HasFatalFailure()) return {};
    sim::HeldEntryRegion flag;
    EXPECT_TRUE(WaitForTransactions(2));
    int first = card_->TransactionCount() + 1;
    int call = ResolveCall(fault, Records(card_->GetCalls));
    SimFault placed = FaultOn(fault, first, kFaultyReadings, call);
    EXPECT_GT(card_->AddFault(&placed), 0);
    int firstClean = first + kFaultyReadings;
    EXPECT_TRUE(WaitForTransactions(firstClean + 2));
    int violations = card_->ViolationCount();
    EXPECT_TRUE(WaitForTransactions(firstClean + 2 + after));

    StopPromptlyAndRelease(device_);
    ExpectHostObjectsHeld(1);
    EXPECT_EQ(entryFlag ? 0 : -1, flag.value()) << "-1: no flag to open";
    EXPECT_EQ(1, card_->Scl());
    EXPECT_EQ(1, card_->Sda());
    *violationsAfter = card_->ViolationCount() - violations;
    return sink_.events();
  }
};

// On TandorUtl (Windows 98), row by row, by fault kind.
class RemoteFaultTable : public FaultCampaign,
                         public ::testing::WithParamInterface<SimFaultKind> {};

TEST_P(RemoteFaultTable, ReadingsMakeWhatTheTransactionDocuments) {
  std::vector<FaultCase> cases = testsupport::CasesOf(GetParam());
  ASSERT_FALSE(cases.empty());
  for (const FaultCase& fault : cases) {
    SCOPED_TRACE(fault.what);
    int violations = 0;
    std::vector<KeyEvent> deliveries =
        RunFault(fault, kReadingsAfter, true, &violations);
    if (HasFatalFailure()) return;
    EXPECT_EQ(0, violations) << card_->FirstViolation();
    // Every reading delivers what it read, except the faulty ones that
    // fail; every delivery is the held key, or what the fault makes of it.
    int readings = ReadTransactions();
    bool faultyFail = fault.result[testsupport::kReadByte] != 0;
    int masked = 0;
    for (const KeyEvent& delivery : deliveries) {
      if (fault.readMask != 0xFF && delivery.name == kMaskedName) {
        ++masked;
      } else {
        EXPECT_EQ(kHeldName, delivery.name);
      }
    }
    EXPECT_EQ(readings - (faultyFail ? kFaultyReadings : 0),
              static_cast<int>(deliveries.size()))
        << readings << " readings";
    if (fault.readMask != 0xFF) {
      EXPECT_EQ(kFaultyReadings, masked);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, RemoteFaultTable,
    ::testing::ValuesIn(testsupport::AllFaultKinds()),
    [](const ::testing::TestParamInfo<SimFaultKind>& info) {
      return testsupport::KindName(info.param);
    });

// On "wdmI2cDll.dll" (Windows 2000), the rows that reach it. There the
// read's result is not looked at: the code variable, preset to 0, is taken
// as it is after the call.
class RemoteWdmFaultTable : public FaultCampaign,
                            public ::testing::WithParamInterface<FaultCase> {};

std::vector<FaultCase> WdmCases() {
  std::vector<FaultCase> cases;
  for (const FaultCase& fault : testsupport::FaultTable())
    if (fault.wdm != testsupport::kWdmNotTried) cases.push_back(fault);
  return cases;
}

TEST_P(RemoteWdmFaultTable, SpoiltReadingsDeliverKeyCode0ThenTheHeldKey) {
  const FaultCase& fault = GetParam();
  int violations = 0;
  std::vector<KeyEvent> deliveries = RunFault(fault, 1, false, &violations);
  ASSERT_FALSE(HasFatalFailure());
  int keyZeroes = fault.wdm == testsupport::kWdmKeyZero ? kFaultyReadings : 0;
  int keyZero = 0, heldAfter = 0;
  for (const KeyEvent& delivery : deliveries) {
    if (delivery.name == "Key_0") {
      ++keyZero;
      EXPECT_EQ("0", delivery.label);
    } else {
      EXPECT_EQ(kHeldName, delivery.name);
      if (keyZero == keyZeroes) ++heldAfter;
    }
  }
  EXPECT_EQ(keyZeroes, keyZero);
  EXPECT_EQ(keyZeroes > 0, LogHas("> Pressed key code 0"));
  EXPECT_GE(heldAfter, 2) << "the held key after the fault";
}

INSTANTIATE_TEST_SUITE_P(EveryFault, RemoteWdmFaultTable,
                         ::testing::ValuesIn(WdmCases()),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                           return testsupport::KindName(info.param.kind);
                         });

}  // namespace
