// The I2C target (slave) side of a device: follows every edge of the bus
// like a real device, recognises its address byte, acknowledges, shifts
// bytes in and out, and hands the bytes to a model of the device.
#pragma once

#include <functional>

#include "line_bus.h"

namespace sim {

// What a device does with the bytes of a transaction addressed to it.
class TargetModel {
 public:
  // A byte written to the device; `index` 0 is the first byte after the
  // address byte. Returns true to acknowledge it.
  virtual bool AcceptByte(int index, int value) = 0;
  // The byte to send for a read; `index` 0 is the first byte of the
  // transaction. -1: nothing more to send (the device lets SDA go).
  virtual int ByteToSend(int index) = 0;

 protected:
  ~TargetModel() = default;
};

// Asked before the device acknowledges byte `byteIndex` of the transaction
// (0 is the address byte); false makes the device withhold it.
using AckGate = std::function<bool(int byteIndex)>;

class I2cTarget : public BusListener {
 public:
  // `addressByte` is the write form (direction bit clear) of the address.
  I2cTarget(LineBus& bus, int addressByte, TargetModel& model, AckGate gate);

  void OnStart(const LineState& state) override;
  void OnStop(const LineState&) override { Reset(); }
  void OnSclRise(const LineState& state) override;
  void OnSclFall(const LineState& state) override;
  // Power-on: not addressed, SDA released.
  void Reset();

 private:
  enum class Phase {
    kIdle,        // waiting for a start condition
    kAddress,     // shifting in the address byte
    kAddressAck,  // acknowledging the address byte
    kReceive,     // shifting in a byte written by the master
    kReceiveAck,  // acknowledging that byte
    kSend,        // shifting out a byte
    kMasterAck,   // the master's acknowledge slot after a sent byte
    kIgnore,      // not addressed, or finished: until the next start/stop
  };

  void EndOfByteIn();
  void EndOfAckSlot();
  void BeginSendingByte();
  void DriveSda(bool release) { bus_.Drive(participant_, Line::kSda, release); }

  LineBus& bus_;
  int participant_;
  int addressByte_;
  TargetModel& model_;
  AckGate gate_;

  Phase phase_ = Phase::kIdle;
  int bits_ = 0;       // clocks of the current byte so far
  int shift_ = 0;      // the byte being shifted in or out
  int byteIndex_ = 0;  // bytes since the start, the address byte is 0
  int written_ = 0;    // bytes handed to AcceptByte in this transaction
  int sent_ = 0;       // bytes taken from ByteToSend in this transaction
  bool reading_ = false;
  bool masterAcked_ = false;
};

}  // namespace sim
