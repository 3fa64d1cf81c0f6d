// The devices on the simulated card's I2C bus.
#pragma once

#include "i2c_target.h"

namespace sim {

// What the receiver needs from the rest of the card.
class ReceiverHost {
 public:
  // The code of the key held now, -1 for none.
  virtual int HeldKey() = 0;
  virtual void KeyRead(int code, bool viaWdm) = 0;
  virtual void SoundWritten(int value, bool viaWdm) = 0;

 protected:
  ~ReceiverHost() = default;
};

// The remote-control receiver, address bytes 0x96 (write) and 0x97 (read).
// A read sends the held key's code, or 0xAA when none is held, once per
// transaction. Writes go to a sub-address and the ones after it; sub-address
// 2 switches the card's sound.
class RemoteReceiver : public TargetModel {
 public:
  static constexpr int kAddress = 0x96;
  static constexpr int kNoKey = 0xAA;
  static constexpr int kSoundRegister = 2;
  static constexpr int kSoundOn = 0x20;
  static constexpr int kSoundOff = 0x10;
  static constexpr int kSoundOffToo = 0x40;

  explicit RemoteReceiver(ReceiverHost& host) : host_(host) {}

  // The byte a read of the receiver yields now (and records the read).
  int SendCode(bool viaWdm);
  // A value written to one of the receiver's sub-addresses.
  void WriteRegister(int subaddress, int value, bool viaWdm);
  // 1 on, 0 off, -1 never switched.
  int SoundState() const { return soundState_; }
  void Reset();

  bool AcceptByte(int index, int value) override;
  int ByteToSend(int index) override;

 private:
  ReceiverHost& host_;
  int subaddress_ = 0;
  int soundState_ = -1;
};

// A second device, address bytes 0x90 (write) and 0x91 (read): sends
// kValue for every byte read and acknowledges every byte written.
class FixedByteDevice : public TargetModel {
 public:
  static constexpr int kAddress = 0x90;
  static constexpr int kValue = 0x5A;

  bool AcceptByte(int, int) override { return true; }
  int ByteToSend(int) override { return kValue; }
};

}  // namespace sim
