// The three transactions on a well-behaved bus: every driver call in order,
// what the devices decoded, and where the transactions differ.

#include "card_fixture.h"

namespace utltest {
namespace {

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

}  // namespace
}  // namespace utltest
