// The open-drain bus, the receiver and the second device, seen through the
// simulated driver's line primitives.
#include <windows.h>

#include <stdio.h>

#include "entry_flag_probe.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

using BusLines = SimTest;

TEST_F(BusLines, LineIsHighOnlyWhileEveryoneReleasesItAtAnyNonZeroLevel) {
  EXPECT_EQ(sim_->Scl(), 1);
  EXPECT_EQ(sim_->Sda(), 1);
  EXPECT_EQ(lines_.readScl(), 1);
  EXPECT_EQ(lines_.readSda(), 1);

  lines_.setScl(0);
  EXPECT_EQ(lines_.readScl(), 0);
  EXPECT_EQ(sim_->Scl(), 0);
  EXPECT_EQ(lines_.readSda(), 1) << "SDA must not follow SCL";
  lines_.setScl(1);
  EXPECT_EQ(lines_.readScl(), 1);

  // A device that pulls SDA low wins over the master's release.
  AddFault(SIM_FAULT_HOLD_SDA, 0, -1, 1);
  lines_.initSwMode(6000);
  lines_.setSda(1);
  EXPECT_EQ(lines_.readSda(), 0);
  EXPECT_EQ(sim_->Sda(), 0);
  lines_.initSwMode(6000);  // the next transaction: the device lets go
  EXPECT_EQ(lines_.readSda(), 1);

  // Any non-zero level releases; reads give exactly 1 or 0.
  lines_.setScl(0);
  lines_.setScl(5);
  EXPECT_EQ(lines_.readScl(), 1);
  lines_.setSda(0);
  EXPECT_EQ(lines_.readSda(), 0);
  lines_.setSda(-1);
  EXPECT_EQ(lines_.readSda(), 1);
}

TEST_F(BusLines, LineChangesOutsideTransactionsAreLegalOnAnIdleBus) {
  // Clock pulses with SDA high, as after a stop.
  for (int i = 0; i < 3; ++i) master_.Clock();
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
  EXPECT_EQ(Frame(), "");
}

using Receiver = SimTest;

// No key since Reset (-1) gives 0xAA; key codes use all bits.
TEST_F(Receiver, ReadSendsTheHeldKeyOrNoKeyCodeAndTheMasterAcknowledges) {
  for (int code : {-1, 18, 0x00, 0xFF, 0x81}) {
    SCOPED_TRACE(code);
    if (code >= 0) sim_->PressKey(code);
    const int sent = code < 0 ? 0xAA : code;
    sim_->ClearRecords();
    int value = -1;
    EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
    EXPECT_EQ(value, sent);
    char frame[64];
    snprintf(frame, sizeof frame, "START, OUT 97 ack, IN %02x ack, STOP", sent);
    EXPECT_EQ(Frame(), frame);
    EXPECT_EQ(sim_->Scl(), 1);
    EXPECT_EQ(sim_->Sda(), 1);
    const std::vector<SimKeyRead> reads = KeyReads();
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].code, sent);
    EXPECT_EQ(reads[0].viaWdm, 0);
  }
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
}

TEST_F(Receiver, SendsOneBytePerTransactionWhateverTheAcknowledge) {
  sim_->PressKey(0x12);
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendByte(0x97));
  ASSERT_TRUE(master_.AwaitAck());
  int first = 0, second = 0;
  ASSERT_TRUE(master_.ReceiveByte(&first));
  master_.MasterAck();
  lines_.setSda(1);  // let the device drive the next byte, if it would
  ASSERT_TRUE(master_.ReceiveByte(&second));
  ASSERT_TRUE(master_.Stop());
  EXPECT_EQ(first, 0x12);
  EXPECT_EQ(second, 0xFF) << "the receiver must let SDA go after one byte";
  EXPECT_EQ(Frame(), "START, OUT 97 ack, IN 12 ack, IN ff noclock, STOP");
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
  EXPECT_EQ(KeyReads().size(), 1u);
}

TEST_F(Receiver, SoundWritesSwitchSoundAndAreRecorded) {
  EXPECT_EQ(sim_->SoundState(), -1);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x20), 0);
  EXPECT_EQ(sim_->SoundState(), 1);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x10), 0);
  EXPECT_EQ(sim_->SoundState(), 0);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x20), 0);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x40), 0);
  EXPECT_EQ(sim_->SoundState(), 0);
  EXPECT_EQ(master_.Write3(0x96, 3, 0x20), 0) << "another sub-address";
  EXPECT_EQ(sim_->SoundState(), 0);

  const std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_EQ(writes.size(), 4u);
  const int expected[] = {0x20, 0x10, 0x20, 0x40};
  for (size_t i = 0; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].value, expected[i]);
    EXPECT_EQ(writes[i].viaWdm, 0);
  }
  EXPECT_LE(writes[0].timeUs, writes[3].timeUs);
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
}

TEST_F(Receiver, WritesAfterTheSubaddressGoToTheFollowingSubaddresses) {
  EXPECT_EQ(master_.MultiWrite(0x96, 1, {0x07, 0x20, 0x10}), 0);
  ASSERT_EQ(SoundWrites().size(), 1u);
  EXPECT_EQ(SoundWrites()[0].value, 0x20);
  EXPECT_EQ(Frame(),
            "START, OUT 96 ack, OUT 01 ack, OUT 07 ack, OUT 20 ack, OUT 10 "
            "ack, STOP");
}

using OtherDevices = SimTest;

TEST_F(OtherDevices, SecondDeviceTakesWritesWithoutTouchingTheReceiver) {
  EXPECT_EQ(master_.Write3(0x90, 2, 0x20), 0);
  EXPECT_EQ(Frame(), "START, OUT 90 ack, OUT 02 ack, OUT 20 ack, STOP");
  EXPECT_TRUE(SoundWrites().empty());
  EXPECT_EQ(sim_->SoundState(), -1);
}

using EntryFlagRecords = SimTest;

TEST_F(EntryFlagRecords, StartAndStopCarryTheSharedWordOrMinusOne) {
  auto flags = [this] {
    std::vector<int> flags;
    for (const SimBusEvent& event : BusEvents())
      flags.push_back(event.entryFlag);
    return flags;
  };
  int value = 0;
  master_.ReadByte(0x97, &value);
  EXPECT_EQ(flags(), std::vector<int>(4, -1)) << "no region";

  {
    sim::HeldEntryRegion region(sim::HeldEntryRegion::kCreate);
    ASSERT_NE(region.words(), nullptr);
    region.words()[0] = 1;
    sim_->ClearRecords();
    master_.ReadByte(0x97, &value);
    region.words()[0] = 0;
    master_.Write3(0x96, 2, 0x20);
  }

  // Byte events carry no flag.
  EXPECT_EQ(flags(), (std::vector<int>{1, -1, -1, 1, 0, -1, -1, -1, 0}));

  // The card reads the region without keeping it: once our handle is gone,
  // so is the region.
  EXPECT_FALSE(sim::EntryRegionExists());
}

}  // namespace
}  // namespace simtest
