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
  explicit LinePrimitives(HMODULE driver);

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
  int ReadByte(int address, int* value);
  int Write3(int address, int subaddress, int value);
  int MultiWrite(int address, int subaddress, const std::vector<int>& data);

  // The bit engine's steps; false when a step fails.
  bool RaiseScl();
  bool RaiseSda();
  bool Start();
  bool Stop();
  bool SendByte(int value);
  bool SendBits(int value, int count);  // the first `count` bits, MSB first
  bool AwaitAck();
  bool ReceiveByte(int* value);
  void MasterAck();
  // One clock pulse with SDA as it is.
  void Clock();

 private:
  bool Raise(int(__cdecl* set)(int), int(__cdecl* read)(void));

  LinePrimitives lines_;
};

}  // namespace simtest
