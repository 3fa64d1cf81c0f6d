// The bit engine. The line primitives answer 0 for success; the steps differ
// in what they take as failure, and that difference is kept on purpose:
// setting a line in the start, the stop and the release before an
// acknowledge fails only on a result of exactly 1, while the byte transfers
// fail on any non-zero result. Reading a line, only exactly 1 means high.

#include "i2cBits.h"

#include "dynLink.h"

namespace {

// How often a released line is sampled before we give up on it, and how
// often SDA is sampled for an acknowledge.
const int kRaiseSamples = 501;
const int kAckSamples = 1500;

int SetScl(int level) {
  return g_driver.I2CSWSetSCL(level);
}
int SetSda(int level) {
  return g_driver.I2CSWSetSDA(level);
}
bool SclIsHigh() {
  return g_driver.I2CSWReadSCL() == 1;
}
bool SdaIsHigh() {
  return g_driver.I2CSWReadSDA() == 1;
}
bool SdaAcknowledges() {
  return g_driver.I2CSWReadSDA() == 0;
}

// The two readings of a line primitive's result.
bool FailedExactly(int result) {
  return result == 1;
}
bool FailedAtAll(int result) {
  return result != 0;
}

bool SampleUntil(bool (*seen)(), int samples) {
  for (int i = 0; i < samples; ++i) {
    if (seen()) return true;
  }
  return false;
}

bool SendBit(bool one) {
  if (one) {
    if (!RaiseSda()) return false;
  } else if (FailedAtAll(SetSda(0))) {
    return false;
  }
  if (!RaiseScl()) return false;
  return !FailedAtAll(SetScl(0));
}

}  // namespace

bool RaiseScl() {
  SetScl(1);
  return SampleUntil(SclIsHigh, kRaiseSamples);
}

bool RaiseSda() {
  SetSda(1);
  return SampleUntil(SdaIsHigh, kRaiseSamples);
}

namespace {

// A device left driving SDA by an abandoned transaction (its acknowledge,
// or a 0 bit it was sending) lets go once it is clocked on: up to nine
// clock pulses with SDA released, until SDA reads high.
bool ClearBus() {
  for (int pulse = 0; pulse < 9 && !SdaIsHigh(); ++pulse) {
    SetScl(0);
    BusDelay();
    if (!RaiseScl()) return false;
    BusDelay();
  }
  return SdaIsHigh();
}

}  // namespace

bool BusStart() {
  if (!RaiseScl()) return false;
  if (!RaiseSda() && !(ClearBus() && RaiseSda())) return false;
  BusDelay();
  if (FailedExactly(SetSda(0))) return false;
  BusDelay();
  return !FailedExactly(SetScl(0));
}

bool BusStop() {
  if (FailedExactly(SetSda(0))) return false;
  if (!RaiseScl() || !RaiseSda()) return false;
  if (FailedExactly(SetScl(0))) return false;
  return RaiseScl();
}

bool SendByte(unsigned char byte) {
  for (unsigned mask = 0x80; mask != 0; mask >>= 1) {
    if (!SendBit((byte & mask) != 0)) return false;
  }
  return true;
}

bool ReceiveByte(unsigned char* byte) {
  *byte = 0;
  for (unsigned mask = 0x80; mask != 0; mask >>= 1) {
    if (!RaiseScl()) return false;
    if (SdaIsHigh()) *byte |= mask;  // kept even if the clock fails below
    if (FailedAtAll(SetScl(0))) return false;
  }
  return true;
}

bool AwaitAck() {
  // SDA is released, not raised: the device may already be pulling it low.
  if (FailedExactly(SetSda(1))) return false;
  if (!RaiseScl()) return false;
  bool acknowledged = SampleUntil(SdaAcknowledges, kAckSamples);
  SetScl(0);
  return acknowledged;
}

void MasterAck() {
  SetSda(0);
  RaiseScl();
  SetScl(0);
}
