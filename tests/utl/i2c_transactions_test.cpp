// TandorUtl's three transactions on the simulated bus. On a well-behaved
// bus: every driver call in order, what the devices decoded, and where the
// transactions differ. Then every row of the fault table against each of
// them: the documented result, no hang, and a bus that the next clean
// transaction leaves idle (both lines high), after which clean transactions
// break no rule of the bus. Then, stated call by call as an oracle, the
// faults whose exact calls matter: where a step takes only a result of
// exactly 1 as failure, the result 2 must pass.

#include <stdio.h>

#include <chrono>
#include <future>

#include "card_fixture.h"
#include "line_waits.h"

namespace utltest {
namespace {

// --- A well-behaved bus ----------------------------------------------------

const int kKeyPower = 18;
const int kOtherDeviceByte = 0x5A;  // what the device at 0x90/0x91 sends

using ReadByteFrame = CardTest;

// Only the low byte of the address counts: 0x197 reads as 0x97. After the
// stop the read sleeps for ten milliseconds.
TEST_F(ReadByteFrame, FromTheReceiverEndsItsByteWithTheMastersAck) {
  LineScript expected = ReadAddressed();
  expected.Receive(kKeyPower).MasterAck().Stop();
  for (int address : {0x97, 0x197}) {
    card_->Reset();
    card_->PressKey(kKeyPower);
    EXPECT_EQ((Outcome{0, kKeyPower}), Read(address));
    EXPECT_GE(TimeSinceLastCall(), 9500);
    EXPECT_EQ(expected.str(), CallText());
    EXPECT_EQ("START, OUT 97 ack, IN 12 ack, STOP", BusText());
    ExpectIdleBusWithoutViolation();
  }
}

TEST_F(ReadByteFrame, WithoutAKeyHeldReadsTheNoKeyCode) {
  EXPECT_EQ((Outcome{0, 0xAA}), Read());
  ExpectIdleBusWithoutViolation();
}

TEST_F(ReadByteFrame, FromAnotherDeviceSendsNoNinthClock) {
  EXPECT_EQ((Outcome{0, kOtherDeviceByte}), Read(0x91));
  LineScript expected;
  expected.Mode(6000).Start().Send(0x91).Ack().Receive(kOtherDeviceByte);
  expected.Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 91 ack, IN 5a noclock, STOP", BusText());
  ExpectIdleBusWithoutViolation();
}

TEST_F(ReadByteFrame, SendsTheAddressByteUnchanged) {
  // An even (write) address byte goes out as it is; the receiver then
  // expects a sub-address, so nothing comes back that reads as a byte in.
  Read(0x96);
  EXPECT_EQ("START, OUT 96", BusText().substr(0, 13));
}

using Write3Frame = CardTest;

TEST_F(Write3Frame, SendsThreeAcknowledgedBytes) {
  EXPECT_EQ(0, SoundOn());
  LineScript expected = Write3Start();
  expected.Send(0x96).Ack().Send(2).Ack().Send(0x20).Ack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 96 ack, OUT 02 ack, OUT 20 ack, STOP", BusText());
  EXPECT_EQ(1, card_->SoundState());
  ExpectIdleBusWithoutViolation();
}

TEST_F(Write3Frame, UsesOnlyTheLowByteOfEachArgument) {
  EXPECT_EQ(0, utl_->DlkI2CSWWrite3(0x196, 0x302, 0x7F10));
  EXPECT_EQ("START, OUT 96 ack, OUT 02 ack, OUT 10 ack, STOP", BusText());
  EXPECT_EQ(0, card_->SoundState());
  ExpectIdleBusWithoutViolation();
}

using MultiWriteFrame = CardTest;

TEST_F(MultiWriteFrame, SendsAddressSubaddressAndEveryDataByte) {
  const unsigned char data[] = {0x01, 0x80, 0xFF};
  EXPECT_EQ(0, utl_->DlkI2CSWMultiWrite(0x90, 0x10, data, 3));
  LineScript expected;
  expected.Mode(6000).Start().Send(0x90).Ack().Send(0x10).Ack();
  expected.Send(0x01).Ack().Send(0x80).Ack().Send(0xFF).Ack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ(
      "START, OUT 90 ack, OUT 10 ack, OUT 01 ack, OUT 80 ack, OUT ff ack, "
      "STOP",
      BusText());
  ExpectIdleBusWithoutViolation();
}

TEST_F(MultiWriteFrame, WithNoDataSendsOnlyAddressAndSubaddress) {
  for (int count : {0, -1, -100}) {
    card_->Reset();
    EXPECT_EQ(0, utl_->DlkI2CSWMultiWrite(0x90, 0x10, nullptr, count));
    LineScript expected;
    expected.Mode(6000).Start().Send(0x90).Ack().Send(0x10).Ack().Stop();
    EXPECT_EQ(expected.str(), CallText()) << "count " << count;
    ExpectIdleBusWithoutViolation();
  }
}

TEST_F(MultiWriteFrame, ReachesTheReceiversSoundRegister) {
  const unsigned char data[] = {0x20};
  EXPECT_EQ(0, utl_->DlkI2CSWMultiWrite(0x96, 2, data, 1));
  EXPECT_EQ(1, card_->SoundState());
  ExpectIdleBusWithoutViolation();
}

// The pauses that lie between driver calls show as gaps in the record's
// times. Only lower bounds are asserted.
class BusDelayGaps : public CardTest {
 protected:
  // Microseconds between the calls at `index` and `index + 1`.
  long long GapAfter(size_t index) const {
    std::vector<SimCall> calls = LineCalls();
    if (index + 1 >= calls.size()) return -1;
    return calls[index + 1].timeUs - calls[index].timeUs;
  }
};

const long long kMinBusDelayUs = 8;

TEST_F(BusDelayGaps, HoldTheStartConditionOnBothEdges) {
  ASSERT_EQ(0, SoundOn());
  // mode, scl=1, scl?1, sda=1, sda?1 | sda=0 | scl=0
  EXPECT_GE(GapAfter(4), kMinBusDelayUs);
  EXPECT_GE(GapAfter(5), kMinBusDelayUs);
}

TEST_F(BusDelayGaps, FollowTheAddressAckAndTheByteOfARead) {
  card_->PressKey(kKeyPower);
  ASSERT_EQ(0, Read().result);
  LineScript upToAck = ReadAddressed();
  LineScript upToMasterAck = upToAck;
  upToMasterAck.Receive(kKeyPower).MasterAck();
  EXPECT_GE(GapAfter(upToAck.calls().size() - 1), kMinBusDelayUs);
  EXPECT_GE(GapAfter(upToMasterAck.calls().size() - 1), kMinBusDelayUs);
}

// --- Every fault of the table ---------------------------------------------

using testsupport::FaultCase;

const int kHeldCode = 0x13;  // held on the receiver while reading
const DWORD kHungMs = 5000;  // far beyond the longest faulty transaction

class TransactionFaults : public CardTest,
                          public ::testing::WithParamInterface<SimFaultKind> {
 protected:
  // A transaction that has not ended in time is hung and cannot be
  // interrupted: the program says which one and ends at once with exit
  // status 99, since nothing after it could be trusted.
  Outcome Run(Transaction transaction) {
    auto outcome =
        std::async(std::launch::async, [&] { return Transact(transaction); });
    if (outcome.wait_for(std::chrono::milliseconds(kHungMs)) !=
        std::future_status::ready) {
      fprintf(stderr, "HUNG: %s did not end within %lu ms\n",
              TransactionName(transaction), kHungMs);
      fflush(stderr);
      ExitProcess(99);
    }
    return outcome.get();
  }

  // The next clean transaction succeeds and leaves an idle bus. If the
  // fault left the bus idle, it adds no violation; if not, it may have to
  // break into the byte of a device left on the bus, which the devices see
  // as a violation, but the transaction after it must be clean.
  void ExpectRecovery(Transaction transaction) {
    bool leftIdle = card_->Scl() == 1 && card_->Sda() == 1;
    int read = transaction == testsupport::kReadByte ? kHeldCode : kUntouched;
    for (int next = 1; next <= 2; ++next) {
      SCOPED_TRACE("clean transaction " + std::to_string(next));
      int violations = card_->ViolationCount();
      EXPECT_EQ((Outcome{0, read}), Run(transaction));
      EXPECT_EQ(1, card_->Scl());
      EXPECT_EQ(1, card_->Sda());
      if (leftIdle || next == 2) {
        EXPECT_EQ(violations, card_->ViolationCount())
            << card_->FirstViolation();
      }
    }
  }
};

TEST_P(TransactionFaults, DocumentedResultThenIdleBus) {
  std::vector<FaultCase> cases = testsupport::CasesOf(GetParam());
  ASSERT_FALSE(cases.empty());
  for (const FaultCase& fault : cases) {
    for (int t = 0; t < testsupport::kTransactionCount; ++t) {
      Transaction transaction = static_cast<Transaction>(t);
      SCOPED_TRACE(std::string(TransactionName(transaction)) + ": " +
                   fault.what);
      card_->Reset();
      card_->PressKey(kHeldCode);
      ASSERT_EQ(0, Run(transaction).result) << "clean, before the fault";
      SimFault placed = FaultOn(fault, card_->TransactionCount(), 1,
                                ResolveCall(fault, LineCalls()));
      EXPECT_GT(card_->AddFault(&placed), 0);
      Outcome faulty = Run(transaction);
      EXPECT_EQ(fault.result[t], faulty.result);
      if (transaction == testsupport::kReadByte && faulty.result == 0) {
        EXPECT_EQ(kHeldCode & fault.readMask, faulty.value);
      }
      card_->ClearFaults();
      ExpectRecovery(transaction);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, TransactionFaults,
    ::testing::ValuesIn(testsupport::AllFaultKinds()),
    [](const ::testing::TestParamInfo<SimFaultKind>& info) {
      return testsupport::KindName(info.param);
    });

// --- Call by call ---------------------------------------------------------

using testsupport::kAckSamples;
using testsupport::kRaiseSamples;

// --- The mode call -------------------------------------------------------

using ModeCall = CardTest;

TEST_F(ModeCall, RefusedEndsEveryTransactionBeforeAnyLineActivity) {
  for (int refusal : {1, 2, -1}) {
    card_->Reset();
    Fault(SIM_FAULT_INIT_SW_MODE_RESULT, refusal, -1,
          testsupport::kTransactionCount);
    ExpectEveryTransactionFails();
    std::string refused = "mode(6000)->" + std::to_string(refusal);
    EXPECT_EQ(
        refused + " mode(1000)->" + std::to_string(refusal) + " " + refused,
        CallText());
    EXPECT_EQ("", BusText());
  }
}

// --- Raising a line: 501 samples ----------------------------------------

using ClockStretch = CardTest;

TEST_F(ClockStretch, Of500SamplesIsWaitedOut) {
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_HOLD_SCL, 500, /*call=*/0));
  LineScript expected;
  expected.Mode(1000).Add({"scl=1"}).Add("scl?0", 500);
  expected.Add({"scl?1"}).RaiseSda().Add({"sda=0", "scl=0"});
  expected.Send(0x96).Ack().Send(2).Ack().Send(0x20).Ack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  ExpectIdleBusWithoutViolation();
}

TEST_F(ClockStretch, Of501SamplesFailsTheStartAndNoStopFollows) {
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_HOLD_SCL, 501, /*call=*/0));
  LineScript expected;
  expected.Mode(1000).Add({"scl=1"}).Add("scl?0", kRaiseSamples);
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("", BusText());
}

TEST_F(ClockStretch, ForEverFailsTheStartOfARead) {
  Fault(SIM_FAULT_HOLD_SCL, -1, /*call=*/0);
  EXPECT_EQ((Outcome{1, kUntouched}), Read());
  LineScript expected;
  expected.Mode(6000).Add({"scl=1"}).Add("scl?0", kRaiseSamples);
  EXPECT_EQ(expected.str(), CallText());
}

TEST_F(ClockStretch, Of501SamplesInAByteEndsItWithTheStop) {
  // The first data bit's clock: the release after the start's.
  LineScript expected = Write3Start();
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_HOLD_SCL, 501, expected.Count("scl=1")));
  expected.RaiseSda().Add({"scl=1"}).Add("scl?0", kRaiseSamples);
  expected.Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, STOP", BusText());
  EXPECT_EQ(-1, card_->SoundState());
}

TEST_F(ClockStretch, ForEverAtAnAcknowledgeAlsoFailsTheStop) {
  LineScript expected = Write3Start();
  expected.Send(0x96).Add({"sda=1"});
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_HOLD_SCL, -1, expected.Count("scl=1")));
  // The acknowledge gives up without sampling SDA or lowering SCL; the stop
  // drives SDA low and then cannot raise SCL either.
  expected.Add({"scl=1"}).Add("scl?0", kRaiseSamples);
  expected.Add({"sda=0", "scl=1"}).Add("scl?0", kRaiseSamples);
  EXPECT_EQ(expected.str(), CallText());
}

// --- Line samples other than 0 and 1 --------------------------------------

using OddSamples = CardTest;

TEST_F(OddSamples, ASclSampleOf2IsNotHigh) {
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_READ_SCL_HIGH_AS, 2, /*call=*/0));
  std::string start = "mode(1000) scl=1 scl?2 scl?1 ";
  EXPECT_EQ(start, CallText().substr(0, start.size()));
  ExpectIdleBusWithoutViolation();
}

TEST_F(OddSamples, SclSamplesThatNeverRead1FailTheStart) {
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_READ_SCL_HIGH_AS, 2));
  LineScript expected;
  expected.Mode(1000).Add({"scl=1"}).Add("scl?2", kRaiseSamples);
  EXPECT_EQ(expected.str(), CallText());
}

TEST_F(OddSamples, AnSdaSampleOf2WhileReceivingIsAZeroBit) {
  card_->PressKey(0xFF);
  Fault(SIM_FAULT_READ_SDA_HIGH_AS, 2, ReadAddressed().Count("sda?"));
  EXPECT_EQ((Outcome{0, 0x7F}), Read());
  ExpectIdleBusWithoutViolation();
}

TEST_F(OddSamples, SdaSamplesOf2WhileAwaitingAnAckAreNoAckYet) {
  // Every low SDA sample reads 2, except the 1,500th of the first
  // acknowledge, which reads 0: accepted at the last sample.
  LineScript beforeAck = Write3Start();
  beforeAck.Send(0x96).Add({"sda=1"}).RaiseScl();
  int first = beforeAck.Count("sda?");
  Fault(SIM_FAULT_READ_SDA_LOW_AS, 2);
  Fault(SIM_FAULT_READ_SDA_LOW_AS, 0, first + kAckSamples - 1);
  EXPECT_EQ(1, SoundOn());
  LineScript expected = beforeAck;
  expected.Add("sda?2", kAckSamples - 1).Add({"sda?0", "scl=0"});
  // The next acknowledge finds only 2s: 1,500 samples, then the stop.
  expected.Send(2).Add({"sda=1"}).RaiseScl();
  expected.Add("sda?2", kAckSamples).Add({"scl=0"}).Stop();
  EXPECT_EQ(expected.str(), CallText());
}

// --- Acknowledges: 1,500 samples ----------------------------------------

using MissingAck = CardTest;

TEST_F(MissingAck, OfTheReadAddressEndsWithStopAndSleep) {
  Fault(SIM_FAULT_NACK_BYTE, 0);
  EXPECT_EQ((Outcome{1, kUntouched}), Read());
  EXPECT_GE(TimeSinceLastCall(), 9500);
  LineScript expected;
  expected.Mode(6000).Start().Send(0x97).Nack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 97 nack, STOP", BusText());
  EXPECT_EQ(1, card_->Scl());
  EXPECT_EQ(1, card_->Sda());
}

TEST_F(MissingAck, OfTheWriteAddressSkipsTheOtherBytes) {
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_NACK_BYTE, 0));
  LineScript expected = Write3Start();
  expected.Send(0x96).Nack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 96 nack, STOP", BusText());
}

TEST_F(MissingAck, OfTheWrittenValueStillEndsWithTheStop) {
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_NACK_BYTE, 2));
  LineScript expected = Write3Start();
  expected.Send(0x96).Ack().Send(2).Ack().Send(0x20).Nack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 96 ack, OUT 02 ack, OUT 20 nack, STOP", BusText());
  EXPECT_EQ(-1, card_->SoundState());
}

TEST_F(MissingAck, OfAMultiWriteAddressStillSendsTheSubaddressOnly) {
  Fault(SIM_FAULT_NACK_BYTE, 0);
  const unsigned char data[] = {1, 2};
  EXPECT_EQ(1, utl_->DlkI2CSWMultiWrite(0x90, 0x10, data, 2));
  LineScript expected;
  expected.Mode(6000).Start().Send(0x90).Nack().Send(0x10).Nack().Stop();
  EXPECT_EQ(expected.str(), CallText());
  EXPECT_EQ("START, OUT 90 nack, OUT 10 nack, STOP", BusText());
}

TEST_F(MissingAck, OfAMultiWriteDataByteEndsTheData) {
  Fault(SIM_FAULT_NACK_BYTE, 3);  // data byte 1
  EXPECT_EQ(1, Transact(testsupport::kMultiWrite).result);
  EXPECT_EQ("START, OUT 90 ack, OUT 10 ack, OUT d0 ack, OUT d1 nack, STOP",
            BusText());
}

// --- Setting a line: exactly 1 or any non-zero ---------------------------

using SetResults = CardTest;

TEST_F(SetResults, StartFailsOnlyOnExactly1AndThenSendsNoStop) {
  LineScript start = Write3Start();
  int sdaLow = start.Count("sda=") - 1;
  int sclLow = start.Count("scl=") - 1;
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 2, sdaLow));
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_SET_SCL_RESULT, -1, sclLow));
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SCL_RESULT, 1, sclLow));
  EXPECT_EQ(start.str() + "->1", CallText());
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 1, sdaLow));
  EXPECT_EQ("mode(1000) scl=1 scl?1 sda=1 sda?1 sda=0->1", CallText());
  // As the failing step left them: SDA fell while SCL was high.
  EXPECT_EQ(1, card_->Scl());
  EXPECT_EQ(0, card_->Sda());
}

TEST_F(SetResults, ByteTransfersFailOnAnyNonZeroResult) {
  LineScript firstBit = Write3Start();
  firstBit.RaiseSda().RaiseScl();
  int firstBitSclLow = firstBit.Count("scl=");
  int secondBitSdaLow = firstBit.Count("sda=");  // 0x96: bit 6 is 0
  for (int result : {2, 1, -1}) {
    EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SCL_RESULT, result, firstBitSclLow));
    EXPECT_EQ("START, STOP", BusText());
    EXPECT_EQ(1,
              SoundOnWith(SIM_FAULT_SET_SDA_RESULT, result, secondBitSdaLow));
    LineScript expected = firstBit;
    expected.Add({"scl=0", "sda=0->" + std::to_string(result)}).Stop();
    EXPECT_EQ(expected.str(), CallText());
  }
}

TEST_F(SetResults, ReleaseBeforeAnAckFailsOnlyOnExactly1) {
  LineScript beforeAck = Write3Start();
  beforeAck.Send(0x96);
  int release = beforeAck.Count("sda=");
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 2, release));
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 1, release));
  // No clock and no sample for the acknowledge: the stop comes at once. The
  // receiver, still pulling SDA low for its acknowledge, keeps the stop from
  // raising SDA.
  LineScript expected = beforeAck;
  expected.Add({"sda=1->1", "sda=0"}).RaiseScl().Add({"sda=1"});
  expected.Add("sda?0", kRaiseSamples);
  EXPECT_EQ(expected.str(), CallText());
}

TEST_F(SetResults, StopFailsOnlyOnExactly1) {
  LineScript beforeStop = Write3Start();
  beforeStop.Send(0x96).Ack().Send(2).Ack().Send(0x20).Ack();
  int stopSdaLow = beforeStop.Count("sda=");
  LineScript all = beforeStop;
  all.Add({"sda=0"}).RaiseScl().RaiseSda();
  int stopSclLow = all.Count("scl=");
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 2, stopSdaLow));
  EXPECT_EQ(0, SoundOnWith(SIM_FAULT_SET_SCL_RESULT, 2, stopSclLow));
  ExpectIdleBusWithoutViolation();
  // Every byte was acknowledged, and still the write fails.
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 1, stopSdaLow));
  EXPECT_EQ(beforeStop.str() + " sda=0->1", CallText());
  EXPECT_EQ(1, SoundOnWith(SIM_FAULT_SET_SCL_RESULT, 1, stopSclLow));
  EXPECT_EQ(all.str() + " scl=0->1", CallText());
  EXPECT_EQ(1, card_->SoundState());
}

// --- The read's own steps -------------------------------------------------

using ReadFaults = CardTest;

TEST_F(ReadFaults, AFailedClockKeepsTheBitsReceivedSoFar) {
  card_->PressKey(0xF0);
  // The clock after the byte's third bit.
  int thirdSclLow = ReadAddressed().Count("scl=") + 2 * 3 - 1;
  Fault(SIM_FAULT_SET_SCL_RESULT, 2, thirdSclLow);
  EXPECT_EQ((Outcome{1, 0xE0}), Read());
  EXPECT_GE(TimeSinceLastCall(), 9500);
  std::string calls = CallText();
  EXPECT_NE(std::string::npos, calls.find("scl=0->2 sda=0 scl=1"))
      << "the stop follows at once: " << calls;
}

TEST_F(ReadFaults, TheNextStartRecoversFromAFailedOne) {
  LineScript start = Write3Start();
  ASSERT_EQ(1,
            SoundOnWith(SIM_FAULT_SET_SDA_RESULT, 1, start.Count("sda=") - 1));
  // SDA was left low: raising it first makes a stop, then a clean start.
  EXPECT_EQ(0, SoundOn());
  EXPECT_EQ("START, STOP, START, OUT 96 ack, OUT 02 ack, OUT 20 ack, STOP",
            BusText());
  ExpectIdleBusWithoutViolation();
}

// --- Arguments that cannot be used ----------------------------------------

using UnusableArguments = CardTest;

TEST_F(UnusableArguments, FailWithoutTouchingTheDriver) {
  EXPECT_EQ(1, utl_->DlkI2CSWReadByte(0x97, nullptr));
  EXPECT_EQ(1, utl_->DlkI2CSWMultiWrite(0x90, 0x10, nullptr, 1));
  EXPECT_EQ("", CallText());
}

}  // namespace
}  // namespace utltest
