// Fault injection: each kind, the transactions and calls it selects, and
// what the bit engine sees.
#include "sim_fixture.h"

namespace simtest {
namespace {

using Faults = SimTest;

TEST_F(Faults, WithheldAcknowledgeOfTheAddressByte) {
  sim_->PressKey(18);
  AddFault(SIM_FAULT_NACK_BYTE, 0);
  int value = -1;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);
  EXPECT_EQ(value, -1);
  EXPECT_EQ(Frame(), "START, OUT 97 nack, STOP");
  EXPECT_TRUE(KeyReads().empty()) << "the receiver sent nothing";
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
}

TEST_F(Faults, WithheldAcknowledgeOfALaterByteDropsTheWrite) {
  AddFault(SIM_FAULT_NACK_BYTE, 2);
  EXPECT_EQ(master_.Write3(0x96, 2, 0x20), 1);
  EXPECT_EQ(Frame(), "START, OUT 96 ack, OUT 02 ack, OUT 20 nack, STOP");
  EXPECT_TRUE(SoundWrites().empty());
  EXPECT_EQ(sim_->SoundState(), -1);

  // The device ignores the rest of the transaction.
  sim_->ClearRecords();
  AddFault(SIM_FAULT_NACK_BYTE, 1);
  EXPECT_EQ(master_.MultiWrite(0x96, 2, {0x20}), 1);
  EXPECT_EQ(Frame(), "START, OUT 96 ack, OUT 02 nack, STOP");
}

TEST_F(Faults, SelectTheirRunOfTransactions) {
  AddFault(SIM_FAULT_NACK_BYTE, 0, /*first=*/1, /*count=*/2);
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);  // transaction 0
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);  // 1
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);  // 2
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);  // 3
  EXPECT_EQ(sim_->TransactionCount(), 4);

  // -1: from the next transaction on.
  AddFault(SIM_FAULT_NACK_BYTE, 0, -1, 1);
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
}

TEST_F(Faults, ClockStretchingForAFixedNumberOfSamples) {
  lines_.initSwMode(6000);
  lines_.setScl(0);
  AddFault(SIM_FAULT_HOLD_SCL, 500, 0, 1, /*call=*/0);
  EXPECT_TRUE(master_.RaiseScl()) << "high at the 501st sample";
  lines_.setScl(0);
  EXPECT_TRUE(master_.RaiseScl()) << "only the first release is held";

  sim_->ClearFaults();
  AddFault(SIM_FAULT_HOLD_SCL, 501, 1, 1, /*call=*/-1);
  lines_.initSwMode(6000);
  lines_.setScl(0);
  EXPECT_FALSE(master_.RaiseScl()) << "still low after 501 samples";
  EXPECT_EQ(lines_.readScl(), 1) << "released after its samples";
}

TEST_F(Faults, ClockHeldForEverUntilTheNextTransaction) {
  AddFault(SIM_FAULT_HOLD_SCL, -1, 0, 1);
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);
  EXPECT_EQ(Frame(), "") << "the start never happened";
  EXPECT_EQ(sim_->Scl(), 0);
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
  EXPECT_EQ(Frame(), "START, OUT 97 ack, IN aa ack, STOP");
}

TEST_F(Faults, DataHeldLowForTheWholeTransaction) {
  AddFault(SIM_FAULT_HOLD_SDA, 0, 0, 1);
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);
  EXPECT_EQ(sim_->Sda(), 0);
  EXPECT_EQ(master_.ReadByte(0x97, &value), 0);
  EXPECT_EQ(sim_->Sda(), 1);
}

TEST_F(Faults, SetResultsAtChosenCallsAndLevels) {
  // The second SetSCL call of the transaction, whatever its level.
  AddFault(SIM_FAULT_SET_SCL_RESULT, 2, -1, -1, /*call=*/1);
  lines_.initSwMode(6000);
  EXPECT_EQ(lines_.setScl(1), 0);
  EXPECT_EQ(lines_.setScl(0), 2);
  EXPECT_EQ(sim_->Scl(), 0) << "the line still follows the argument";
  EXPECT_EQ(lines_.setScl(1), 0);
  lines_.initSwMode(6000);  // counting starts again
  EXPECT_EQ(lines_.setScl(1), 0);
  EXPECT_EQ(lines_.setScl(1), 2);

  // Every SetSDA(0), only.
  AddFault(SIM_FAULT_SET_SDA_RESULT, 7, -1, -1, -1, /*level=*/0);
  lines_.initSwMode(6000);
  EXPECT_EQ(lines_.setSda(1), 0);
  EXPECT_EQ(lines_.setSda(0), 7);
  EXPECT_EQ(lines_.setSda(0), 7);
  EXPECT_EQ(sim_->Sda(), 0);
}

TEST_F(Faults, ReadResultsOtherThanZeroAndOne) {
  AddFault(SIM_FAULT_READ_SDA_HIGH_AS, 2);
  AddFault(SIM_FAULT_READ_SCL_LOW_AS, 5, -1, -1, /*call=*/1);
  lines_.initSwMode(6000);
  EXPECT_EQ(lines_.readSda(), 2);
  lines_.setScl(0);
  EXPECT_EQ(lines_.readScl(), 0);
  EXPECT_EQ(lines_.readScl(), 5);
  EXPECT_EQ(lines_.readScl(), 0);
  lines_.setSda(0);
  EXPECT_EQ(lines_.readSda(), 0) << "only the high reading is changed";

  // A high reading of 2 counts as "not high": the start cannot raise SDA.
  lines_.setScl(1);
  int value = 0;
  EXPECT_EQ(master_.ReadByte(0x97, &value), 1);
}

TEST_F(Faults, InitSwModeResultStillCountsTheTransaction) {
  AddFault(SIM_FAULT_INIT_SW_MODE_RESULT, 7, 1, 1);
  EXPECT_EQ(lines_.initSwMode(6000), 0);
  EXPECT_EQ(lines_.initSwMode(6000), 7);
  EXPECT_EQ(lines_.initSwMode(1000), 0);
  EXPECT_EQ(sim_->TransactionCount(), 3);
}

TEST_F(Faults, I2cInitOkResultHoldsUntilReset) {
  auto isInitOk = Export<int(__cdecl*)(void)>(Driver(), "I2CIsInitOK");
  EXPECT_EQ(isInitOk(), 1);
  AddFault(SIM_FAULT_I2C_INIT_OK_RESULT, 0, 5, 1);
  EXPECT_EQ(isInitOk(), 0) << "transactions do not apply";
  lines_.initSwMode(6000);
  EXPECT_EQ(isInitOk(), 0);
  sim_->Reset();
  EXPECT_EQ(isInitOk(), 1);
}

TEST_F(Faults, TheLastAddedWinsAndClearRemovesAll) {
  EXPECT_EQ(AddFault(SIM_FAULT_INIT_SW_MODE_RESULT, 3), 1);
  EXPECT_EQ(AddFault(SIM_FAULT_INIT_SW_MODE_RESULT, 4), 2);
  EXPECT_EQ(lines_.initSwMode(6000), 4);
  sim_->ClearFaults();
  EXPECT_EQ(lines_.initSwMode(6000), 0);
  EXPECT_EQ(AddFault(0, 1), -1);
  EXPECT_EQ(AddFault(SIM_FAULT_WDM_READ_FAILS + 1, 1), -1);
  EXPECT_EQ(sim_->AddFault(nullptr), -1);
}

}  // namespace
}  // namespace simtest
