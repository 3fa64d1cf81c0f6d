#include "devices.h"

namespace sim {

int RemoteReceiver::SendCode(bool viaWdm) {
  const int held = host_.HeldKey();
  const int code = held < 0 ? kNoKey : (held & 0xFF);
  host_.KeyRead(code, viaWdm);
  return code;
}

void RemoteReceiver::WriteRegister(int subaddress, int value, bool viaWdm) {
  if ((subaddress & 0xFF) != kSoundRegister) return;
  value &= 0xFF;
  if (value == kSoundOn) soundState_ = 1;
  if (value == kSoundOff || value == kSoundOffToo) soundState_ = 0;
  host_.SoundWritten(value, viaWdm);
}

void RemoteReceiver::Reset() {
  subaddress_ = 0;
  soundState_ = -1;
}

bool RemoteReceiver::AcceptByte(int index, int value) {
  if (index == 0)
    subaddress_ = value & 0xFF;
  else
    WriteRegister(subaddress_ + index - 1, value, false);
  return true;
}

int RemoteReceiver::ByteToSend(int index) {
  return index == 0 ? SendCode(false) : -1;
}

}  // namespace sim
