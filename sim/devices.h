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

// The remote-control receiver (what it does: control_table.h).
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
  int SendCode(bool viaWdm) {
    const int held = host_.HeldKey();
    const int code = held < 0 ? kNoKey : (held & 0xFF);
    host_.KeyRead(code, viaWdm);
    return code;
  }
  // A value written to one of the receiver's sub-addresses.
  void WriteRegister(int subaddress, int value, bool viaWdm) {
    if ((subaddress & 0xFF) != kSoundRegister) return;
    value &= 0xFF;
    if (value == kSoundOn) soundState_ = 1;
    if (value == kSoundOff || value == kSoundOffToo) soundState_ = 0;
    host_.SoundWritten(value, viaWdm);
  }
  // 1 on, 0 off, -1 never switched.
  int SoundState() const { return soundState_; }
  void Reset() {
    subaddress_ = 0;
    soundState_ = -1;
  }

  bool AcceptByte(int index, int value) override {
    if (index == 0)
      subaddress_ = value & 0xFF;
    else
      WriteRegister(subaddress_ + index - 1, value, false);
    return true;
  }
  int ByteToSend(int index) override {
    return index == 0 ? SendCode(false) : -1;
  }

 private:
  ReceiverHost& host_;
  int subaddress_ = 0;
  int soundState_ = -1;
};

// The second device.
class FixedByteDevice : public TargetModel {
 public:
  static constexpr int kAddress = 0x90;
  static constexpr int kValue = 0x5A;

  bool AcceptByte(int, int) override { return true; }
  int ByteToSend(int) override { return kValue; }
};

}  // namespace sim
