// An oracle: stated again on purpose, apart from utl/'s bit engine.
#include "reference_master.h"

namespace simtest {

using testsupport::kAckSamples;
using testsupport::kRaiseSamples;

LinePrimitives::LinePrimitives(HMODULE driver)
    : initSwMode(Export<decltype(initSwMode)>(driver, "I2CInitSWMode")),
      setScl(Export<decltype(setScl)>(driver, "I2CSWSetSCL")),
      setSda(Export<decltype(setSda)>(driver, "I2CSWSetSDA")),
      readScl(Export<decltype(readScl)>(driver, "I2CSWReadSCL")),
      readSda(Export<decltype(readSda)>(driver, "I2CSWReadSDA")) {}

bool ReferenceMaster::Raise(int(__cdecl* set)(int), int(__cdecl* read)(void)) {
  set(1);
  for (int sample = 0; sample < kRaiseSamples; ++sample)
    if (read() == 1) return true;
  return false;
}

bool ReferenceMaster::RaiseScl() {
  return Raise(lines_.setScl, lines_.readScl);
}

bool ReferenceMaster::RaiseSda() {
  return Raise(lines_.setSda, lines_.readSda);
}

bool ReferenceMaster::Start() {
  if (!RaiseScl() || !RaiseSda()) return false;
  if (lines_.setSda(0) == 1) return false;
  return lines_.setScl(0) != 1;
}

bool ReferenceMaster::Stop() {
  if (lines_.setSda(0) == 1) return false;
  if (!RaiseScl() || !RaiseSda()) return false;
  if (lines_.setScl(0) == 1) return false;
  return RaiseScl();
}

bool ReferenceMaster::SendBits(int value, int count) {
  for (int bit = 7; bit > 7 - count; --bit) {
    if ((value >> bit) & 1) {
      if (!RaiseSda()) return false;
    } else if (lines_.setSda(0) != 0) {
      return false;
    }
    if (!RaiseScl()) return false;
    if (lines_.setScl(0) != 0) return false;
  }
  return true;
}

bool ReferenceMaster::SendByte(int value) {
  return SendBits(value, 8);
}

bool ReferenceMaster::AwaitAck() {
  if (lines_.setSda(1) == 1) return false;
  if (!RaiseScl()) return false;
  bool acked = false;
  for (int sample = 0; sample < kAckSamples && !acked; ++sample)
    acked = lines_.readSda() == 0;
  lines_.setScl(0);
  return acked;
}

bool ReferenceMaster::ReceiveByte(int* value) {
  *value = 0;
  for (int bit = 7; bit >= 0; --bit) {
    if (!RaiseScl()) return false;
    if (lines_.readSda() == 1) *value |= 1 << bit;
    if (lines_.setScl(0) != 0) return false;
  }
  return true;
}

void ReferenceMaster::MasterAck() {
  lines_.setSda(0);
  RaiseScl();
  lines_.setScl(0);
}

void ReferenceMaster::Clock() {
  RaiseScl();
  lines_.setScl(0);
}

int ReferenceMaster::ReadByte(int address, int* value) {
  if (lines_.initSwMode(6000) != 0) return 1;
  if (!Start()) return 1;
  int received = 0;
  bool ok = SendByte(address) && AwaitAck() && ReceiveByte(&received);
  if (ok) {
    *value = received;
    if ((address & 0xFF) == 0x97) MasterAck();
  }
  if (!Stop()) return 1;
  return ok ? 0 : 1;
}

int ReferenceMaster::Write3(int address, int subaddress, int value) {
  if (lines_.initSwMode(1000) != 0) return 1;
  if (!Start()) return 1;
  bool ok = true;
  for (int byte : {address, subaddress, value}) {
    ok = SendByte(byte) && AwaitAck();
    if (!ok) break;
  }
  if (!Stop()) return 1;
  return ok ? 0 : 1;
}

int ReferenceMaster::MultiWrite(int address, int subaddress,
                                const std::vector<int>& data) {
  if (lines_.initSwMode(6000) != 0) return 1;
  if (!Start()) return 1;
  bool ok = true;
  for (int byte : {address, subaddress}) {
    const bool sent = SendByte(byte);
    const bool acked = AwaitAck();
    ok = ok && sent && acked;
  }
  for (size_t i = 0; i < data.size() && ok; ++i) {
    const bool sent = SendByte(data[i]);
    const bool acked = AwaitAck();
    ok = sent && acked;
  }
  if (!Stop()) return 1;
  return ok ? 0 : 1;
}

}  // namespace simtest
