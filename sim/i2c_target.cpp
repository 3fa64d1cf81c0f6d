#include "i2c_target.h"

#include <utility>

namespace sim {

I2cTarget::I2cTarget(LineBus& bus, int addressByte, TargetModel& model,
                     AckGate gate)
    : bus_(bus),
      participant_(bus.AddParticipant()),
      addressByte_(addressByte & 0xFE),
      model_(model),
      gate_(std::move(gate)) {
  bus_.AddListener(this);
}

void I2cTarget::Reset() {
  phase_ = Phase::kIdle;
  DriveSda(true);
}

void I2cTarget::OnStart(const LineState&) {
  phase_ = Phase::kAddress;
  bits_ = 0;
  shift_ = 0;
  byteIndex_ = 0;
  written_ = 0;
  sent_ = 0;
  DriveSda(true);
}

void I2cTarget::OnSclRise(const LineState& state) {
  const bool sda = state.sda;  // the bit on the line
  switch (phase_) {
    case Phase::kAddress:
    case Phase::kReceive:
      shift_ = ((shift_ << 1) | (sda ? 1 : 0)) & 0xFF;
      ++bits_;
      break;
    case Phase::kSend:
      ++bits_;
      break;
    case Phase::kMasterAck:
      masterAcked_ = !sda;
      break;
    default:
      break;
  }
}

// Devices change SDA only while SCL is low, right after a falling edge.
void I2cTarget::OnSclFall(const LineState&) {
  switch (phase_) {
    case Phase::kAddress:
    case Phase::kReceive:
      if (bits_ == 8) EndOfByteIn();
      break;
    case Phase::kAddressAck:
    case Phase::kReceiveAck:
      EndOfAckSlot();
      break;
    case Phase::kSend:
      if (bits_ < 8) {
        DriveSda(((shift_ >> (7 - bits_)) & 1) != 0);
      } else {
        DriveSda(true);  // the master's acknowledge slot
        masterAcked_ = false;
        phase_ = Phase::kMasterAck;
      }
      break;
    case Phase::kMasterAck:
      if (masterAcked_)
        BeginSendingByte();
      else
        phase_ = Phase::kIgnore;
      break;
    default:
      break;
  }
}

void I2cTarget::EndOfByteIn() {
  const int index = byteIndex_++;
  bool ack;
  if (phase_ == Phase::kAddress) {
    ack = (shift_ & 0xFE) == addressByte_ && gate_(index);
    reading_ = (shift_ & 1) != 0;
    phase_ = Phase::kAddressAck;
  } else {
    ack = gate_(index) && model_.AcceptByte(written_++, shift_);
    phase_ = Phase::kReceiveAck;
  }
  if (ack)
    DriveSda(false);
  else
    phase_ = Phase::kIgnore;
}

void I2cTarget::EndOfAckSlot() {
  DriveSda(true);
  if (phase_ == Phase::kAddressAck && reading_) {
    BeginSendingByte();
    return;
  }
  phase_ = Phase::kReceive;
  bits_ = 0;
  shift_ = 0;
}

void I2cTarget::BeginSendingByte() {
  const int value = model_.ByteToSend(sent_++);
  ++byteIndex_;
  if (value < 0) {
    DriveSda(true);
    phase_ = Phase::kIgnore;
    return;
  }
  shift_ = value & 0xFF;
  bits_ = 0;
  phase_ = Phase::kSend;
  DriveSda((shift_ & 0x80) != 0);
}

}  // namespace sim
