// Every fault of the simulated card against each of TandorUtl's three
// transactions: the documented result, no hang, and a bus that the next
// clean transaction leaves idle (both lines high), after which clean
// transactions break no rule of the bus.

#include <gtest/gtest.h>

#include "card_access.h"
#include "fault_cases.h"
#include "harness.h"

namespace campaign {
namespace {

const int kHeldCode = 0x13;  // held on the receiver while reading
const DWORD kHungMs = 5000;  // far beyond the longest faulty transaction

struct Outcome {
  int result = -1;
  int value = -1;  // the byte a read stored, -1 for the writes
};

class CampaignTransactionFaults
    : public ::testing::TestWithParam<SimFaultKind> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(utl_.complete());
    card_ = harness::SimCard();
    ASSERT_NE(nullptr, card_);
  }

  Outcome Run(Transaction transaction) {
    Outcome outcome;
    MustFinishWithin(
        TransactionName(transaction),
        [&] {
          if (transaction == kReadByte) {
            unsigned char value = 0;
            outcome.result = utl_->DlkI2CSWReadByte(0x97, &value);
            outcome.value = value;
          } else if (transaction == kWrite3) {
            outcome.result = utl_->DlkI2CSWWrite3(0x96, 2, 0x20);
          } else {
            const unsigned char data[] = {0xD0, 0xD1, 0xD2};
            outcome.result = utl_->DlkI2CSWMultiWrite(0x90, 0x10, data, 3);
          }
        },
        kHungMs);
    return outcome;
  }

  // The fault on the next transaction alone, then that transaction.
  Outcome RunWithFault(const FaultCase& fault, Transaction transaction,
                       const std::vector<SimCall>& clean) {
    SimFault placed =
        FaultOn(fault.kind, card_->TransactionCount(), 1,
                ResolveCall(fault, clean), fault.level, fault.value);
    EXPECT_GT(card_->AddFault(&placed), 0);
    return Run(transaction);
  }

  // The next clean transaction succeeds and leaves an idle bus. If the
  // fault left the bus idle, it adds no violation; if not, it may have to
  // break into the byte of a device left on the bus, which the devices see
  // as a violation, but the transaction after it must be clean.
  void ExpectRecovery(Transaction transaction) {
    bool leftIdle = card_->Scl() == 1 && card_->Sda() == 1;
    for (const char* which : {"the next", "the second"}) {
      SCOPED_TRACE(std::string(which) + " clean transaction");
      int violations = card_->ViolationCount();
      Outcome next = Run(transaction);
      EXPECT_EQ(0, next.result);
      if (transaction == kReadByte) {
        EXPECT_EQ(kHeldCode, next.value);
      }
      EXPECT_EQ(1, card_->Scl());
      EXPECT_EQ(1, card_->Sda());
      if (leftIdle || which != std::string("the next")) {
        EXPECT_EQ(violations, card_->ViolationCount())
            << card_->FirstViolation();
      }
    }
  }

  harness::UtlLibrary utl_{harness::UtlPath()};
  const SimControl* card_ = nullptr;
};

TEST_P(CampaignTransactionFaults, DocumentedResultThenIdleBus) {
  std::vector<FaultCase> cases = CasesOf(GetParam());
  ASSERT_FALSE(cases.empty());
  for (const FaultCase& fault : cases) {
    for (int t = 0; t < kTransactionCount; ++t) {
      Transaction transaction = static_cast<Transaction>(t);
      SCOPED_TRACE(std::string(TransactionName(transaction)) + ": " +
                   fault.what);
      card_->Reset();
      card_->PressKey(kHeldCode);
      ASSERT_EQ(0, Run(transaction).result) << "clean, before the fault";
      std::vector<SimCall> clean = harness::Records(card_->GetCalls);
      Outcome faulty = RunWithFault(fault, transaction, clean);
      EXPECT_EQ(fault.result[t], faulty.result);
      if (transaction == kReadByte && faulty.result == 0) {
        EXPECT_EQ(kHeldCode & fault.readMask, faulty.value);
      }
      card_->ClearFaults();
      ExpectRecovery(transaction);
    }
  }
}

std::string KindParamName(const ::testing::TestParamInfo<SimFaultKind>& info) {
  return KindName(info.param);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, CampaignTransactionFaults,
                         ::testing::ValuesIn(AllFaultKinds()), KindParamName);

}  // namespace
}  // namespace campaign
