// An oracle: stated again on purpose, apart from utl/'s bit engine.
// A small I2C master for the simulated card's own tests. It drives the
// lines through the simulated driver's line primitives with the same bit
// engine steps as the card utility library (raise SCL before SDA for a
// start, one more clock pulse after the stop, an acknowledge after a byte
// read from 0x97 and no ninth clock after other reads), and also offers the
// single steps, so that tests can build illegal frames on purpose.
#pragma once

#include <windows.h>

#include <vector>

#include "line_waits.h"

namespace simtest {

// The driver's function `name` in `module`, as a pointer of type Function.
template <typename Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The simulated driver's line interface, looked up by name.
struct LinePrimitives {
  explicit LinePrimitives(HMODULE driver)
      : initSwMode(Export<decltype(initSwMode)>(driver, "I2CInitSWMode")),
        setScl(Export<decltype(setScl)>(driver, "I2CSWSetSCL")),
        setSda(Export<decltype(setSda)>(driver, "I2CSWSetSDA")),
        readScl(Export<decltype(readScl)>(driver, "I2CSWReadSCL")),
        readSda(Export<decltype(readSda)>(driver, "I2CSWReadSDA")) {}

  int(__cdecl* initSwMode)(int mode);
  int(__cdecl* setScl)(int level);
  int(__cdecl* setSda)(int level);
  int(__cdecl* readScl)(void);
  int(__cdecl* readSda)(void);
};

class ReferenceMaster {
 public:
  explicit ReferenceMaster(const LinePrimitives& lines) : lines_(lines) {}

  // Whole transactions; 0 success, 1 failure.
  int ReadByte(int address, int* value) {
    if (!Begin(6000)) return 1;
    int received = 0;
    bool ok = SendByte(address) && AwaitAck() && ReceiveByte(&received);
    if (ok) {
      *value = received;
      if ((address & 0xFF) == 0x97) MasterAck();
    }
    if (!Stop()) return 1;
    return ok ? 0 : 1;
  }
  int Write3(int address, int subaddress, int value) {
    if (!Begin(1000)) return 1;
    bool ok = true;
    for (int byte : {address, subaddress, value}) {
      ok = SendByte(byte) && AwaitAck();
      if (!ok) break;
    }
    if (!Stop()) return 1;
    return ok ? 0 : 1;
  }
  int MultiWrite(int address, int subaddress, const std::vector<int>& data) {
    if (!Begin(6000)) return 1;
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

  // The bit engine's steps; false when a step fails. Begin is a
  // transaction's mode call and start condition.
  bool Begin(int mode) { return lines_.initSwMode(mode) == 0 && Start(); }
  bool RaiseScl() { return Raise(lines_.setScl, lines_.readScl); }
  bool RaiseSda() { return Raise(lines_.setSda, lines_.readSda); }
  bool Start() {
    if (!RaiseScl() || !RaiseSda()) return false;
    if (lines_.setSda(0) == 1) return false;
    return lines_.setScl(0) != 1;
  }
  bool Stop() {
    if (lines_.setSda(0) == 1) return false;
    if (!RaiseScl() || !RaiseSda()) return false;
    if (lines_.setScl(0) == 1) return false;
    return RaiseScl();
  }
  bool SendByte(int value) { return SendBits(value, 8); }
  // The first `count` bits, MSB first.
  bool SendBits(int value, int count) {
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
  bool AwaitAck() {
    if (lines_.setSda(1) == 1) return false;
    if (!RaiseScl()) return false;
    bool acked = false;
    for (int sample = 0; sample < testsupport::kAckSamples && !acked; ++sample)
      acked = lines_.readSda() == 0;
    lines_.setScl(0);
    return acked;
  }
  bool ReceiveByte(int* value) {
    *value = 0;
    for (int bit = 7; bit >= 0; --bit) {
      if (!RaiseScl()) return false;
      if (lines_.readSda() == 1) *value |= 1 << bit;
      if (lines_.setScl(0) != 0) return false;
    }
    return true;
  }
  void MasterAck() {
    lines_.setSda(0);
    Clock();
  }
  // One clock pulse with SDA as it is.
  void Clock() {
    RaiseScl();
    lines_.setScl(0);
  }

 private:
  bool Raise(int(__cdecl* set)(int), int(__cdecl* read)(void)) {
    set(1);
    for (int sample = 0; sample < testsupport::kRaiseSamples; ++sample)
      if (read() == 1) return true;
    return false;
  }

  LinePrimitives lines_;
};

}  // namespace simtest
