// The protocol checker: the frames that the card utility library makes are
// legal (with the second device's answer and addresses nobody owns among
// them), and each kind of violation is seen and counted.
#include <string>

#include "sim_fixture.h"

namespace simtest {
namespace {

using LegalFrames = SimTest;

TEST_F(LegalFrames, EveryTransactionOfTheLibraryPassesTheChecker) {
  sim_->PressKey(0x33);
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);  // acknowledge, then stop
  EXPECT_EQ(master_.ReadByte(0x91, &value), 0);  // no ninth clock
  EXPECT_EQ(value, 0x5A) << "the second device";
  EXPECT_EQ(master_.ReadByte(0x197, &value), 0);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x20), 0);
  EXPECT_EQ(master_.MultiWrite(0x96, 2, {}), 0);
  EXPECT_EQ(master_.MultiWrite(0x96, 1, {1, 2, 3}), 0);
  value = -1;
  EXPECT_EQ(master_.ReadByte(0x95, &value), 1);  // nobody acknowledges
  EXPECT_EQ(value, -1) << "a failed read stores nothing";
  EXPECT_EQ(master_.Write3(0x94, 2, 0x20), 1);  // nor here
  EXPECT_EQ(master_.MultiWrite(0x94, 2, {1}), 1);
  EXPECT_EQ(KeyReads().size(), 2u) << "only the receiver's reads are keys";
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
  EXPECT_STREQ(sim_->FirstViolation(), "");
  EXPECT_EQ(Frame(),
            "START, OUT 97 ack, IN 33 ack, STOP, "
            "START, OUT 91 ack, IN 5a noclock, STOP, "
            "START, OUT 97 ack, IN 33 ack, STOP, "
            "START, OUT 96 ack, OUT 02 ack, OUT 20 ack, STOP, "
            "START, OUT 96 ack, OUT 02 ack, STOP, "
            "START, OUT 96 ack, OUT 01 ack, OUT 01 ack, OUT 02 ack, "
            "OUT 03 ack, STOP, "
            "START, OUT 95 nack, STOP, "
            "START, OUT 94 nack, STOP, "
            "START, OUT 94 nack, OUT 02 nack, STOP");
}

TEST_F(LegalFrames, RepeatedStartAtAByteBoundaryIsLegal) {
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendByte(0x96));
  ASSERT_TRUE(master_.AwaitAck());
  ASSERT_TRUE(master_.SendByte(0x02));
  ASSERT_TRUE(master_.AwaitAck());
  ASSERT_TRUE(master_.Start());  // SCL then SDA raised, then SDA falls
  ASSERT_TRUE(master_.SendByte(0x97));
  ASSERT_TRUE(master_.AwaitAck());
  int value = 0;
  ASSERT_TRUE(master_.ReceiveByte(&value));
  ASSERT_TRUE(master_.Stop());
  EXPECT_EQ(
      Frame(),
      "START, OUT 96 ack, OUT 02 ack, START, OUT 97 ack, IN aa noclock, STOP");
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
}

class Violations : public SimTest {
 protected:
  // `count` violations (at least, when `orMore`), the first about `about`.
  void ExpectViolations(int count, const char* about, bool orMore = false) {
    if (orMore) {
      EXPECT_GE(sim_->ViolationCount(), count);
    } else {
      EXPECT_EQ(sim_->ViolationCount(), count);
    }
    EXPECT_NE(std::string(sim_->FirstViolation()).find(about),
              std::string::npos)
        << sim_->FirstViolation();
  }
};

TEST_F(Violations, StopInsideAByte) {
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendBits(0x96, 3));
  lines_.setSda(0);
  ASSERT_TRUE(master_.RaiseScl());
  ASSERT_TRUE(master_.RaiseSda());  // SDA rises while SCL is high: a stop
  ExpectViolations(1, "stop in the middle");
  EXPECT_EQ(Frame(), "START, STOP") << "no byte is made of a cut-off one";
}

TEST_F(Violations, StartInsideAByte) {
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendBits(0xFF, 3));
  ASSERT_TRUE(master_.RaiseScl());
  lines_.setSda(0);  // SDA falls while SCL is high: a start
  ExpectViolations(1, "start in the middle");
}

TEST_F(Violations, DataChangingWhileSclIsHighInsideAByte) {
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendBits(0x00, 4));
  ASSERT_TRUE(master_.RaiseScl());
  lines_.setSda(1);  // a glitch in the high phase of the fifth bit
  lines_.setSda(0);
  ExpectViolations(1, "while SCL was high", true);
}

TEST_F(Violations, ClocksWithoutAStart) {
  // A "start" made while SCL is low is no start: the clocks that follow
  // find SDA low on an idle bus.
  lines_.setScl(0);
  lines_.setSda(0);
  master_.Clock();
  master_.Clock();
  ExpectViolations(2, "without a start");
  EXPECT_EQ(Frame(), "");
}

TEST_F(Violations, MasterPullingSdaWhileTheDeviceSends) {
  sim_->PressKey(0xFF);
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendByte(0x97));
  ASSERT_TRUE(master_.AwaitAck());
  lines_.setSda(0);  // the master should have let SDA go
  master_.Clock();
  master_.Clock();
  ExpectViolations(2, "master pulled SDA low while a device sent");
}

TEST_F(Violations, MasterPullingSdaInTheAcknowledgeSlotOfItsOwnByte) {
  ASSERT_TRUE(master_.Begin(1000));
  ASSERT_TRUE(master_.SendByte(0x94));  // nobody's address
  lines_.setSda(0);                     // instead of letting SDA go
  master_.Clock();
  ExpectViolations(1, "acknowledge slot");
}

TEST_F(Violations, AreCountedAllAndTheFirstIsKeptUntilReset) {
  lines_.setScl(0);
  lines_.setSda(0);
  master_.Clock();  // clocks without a start
  lines_.setSda(1);
  ASSERT_TRUE(master_.Begin(6000));
  ASSERT_TRUE(master_.SendBits(0x00, 2));
  ASSERT_TRUE(master_.RaiseScl());
  ASSERT_TRUE(master_.RaiseSda());  // stop inside a byte
  ExpectViolations(2, "without a start");
  sim_->ClearRecords();
  EXPECT_EQ(sim_->ViolationCount(), 2) << "records are not violations";
  sim_->Reset();
  EXPECT_EQ(sim_->ViolationCount(), 0);
  EXPECT_STREQ(sim_->FirstViolation(), "");
}

}  // namespace
}  // namespace simtest
