// The three I2C transactions that the library exports. Each runs whole, from
// the driver's mode call and the start condition to the stop condition, on
// the caller's thread, and returns 0 for success or 1 for failure. Once the
// start has succeeded, the stop is always sent.

#include <windows.h>

#include "dynLink.h"
#include "i2cBits.h"
#include "tandorUtl.h"

namespace {

const int kSuccess = 0;
const int kFailure = 1;

// Mode values for the driver's software I2C access; their meaning is the
// driver's.
const int kReadAndMultiWriteMode = 6000;
const int kWrite3Mode = 1000;

// The remote receiver's read address: after its byte it wants the master's
// acknowledge. Every other device gets no ninth clock after a byte read.
const unsigned char kAckedReadAddress = 0x97;

// The pause after a read's stop, in milliseconds.
const DWORD kAfterReadSleep = 10;

// Byte-valued arguments count with their low 8 bits only.
unsigned char LowByte(int value) {
  return static_cast<unsigned char>(value & 0xFF);
}

int Result(bool ok) {
  return ok ? kSuccess : kFailure;
}

// The bit engine calls the line primitives without looking. They are always
// bound after a successful load; only a client's own failed
// InitDynamicLinkage can empty them, and then the transaction fails instead
// of calling nothing.
bool LinesBound() {
  return g_driver.I2CSWSetSCL && g_driver.I2CSWSetSDA &&
         g_driver.I2CSWReadSCL && g_driver.I2CSWReadSDA;
}

// The driver's mode call and the start condition; false leaves the bus
// without a stop.
bool Begin(int mode) {
  if (!LinesBound()) return false;
  if (DlkI2CInitSWMode(mode) != 0) return false;
  return BusStart();
}

bool SendAcked(unsigned char byte) {
  return SendByte(byte) && AwaitAck();
}

// Sends the byte and awaits the acknowledge even when the sending failed.
bool SendThenAwaitAck(unsigned char byte) {
  bool sent = SendByte(byte);
  bool acknowledged = AwaitAck();
  return sent && acknowledged;
}

// Address byte, device acknowledge, one byte in, the master's acknowledge
// where the device wants it.
bool ReadFrame(unsigned char address, unsigned char* value) {
  if (!SendAcked(address)) return false;
  BusDelay();
  if (!ReceiveByte(value)) return false;
  if (address == kAckedReadAddress) MasterAck();
  BusDelay();
  return true;
}

}  // namespace

// A null pointer for the byte read, or for a positive count of data bytes,
// fails the transaction before the driver is called.

int TANDORUTL_CALL DlkI2CSWReadByte(int address, unsigned char* value) {
  if (!value) return kFailure;
  if (!Begin(kReadAndMultiWriteMode)) return kFailure;
  bool ok = ReadFrame(LowByte(address), value);
  if (!BusStop()) return kFailure;
  Sleep(kAfterReadSleep);
  return Result(ok);
}

int TANDORUTL_CALL DlkI2CSWWrite3(int address, int subaddress, int value) {
  if (!Begin(kWrite3Mode)) return kFailure;
  bool ok = SendAcked(LowByte(address)) && SendAcked(LowByte(subaddress)) &&
            SendAcked(LowByte(value));
  if (!BusStop()) return kFailure;
  BusDelay();
  return Result(ok);
}

// The address byte and the sub-address always go out; the data bytes only
// while everything before them was acknowledged.
int TANDORUTL_CALL DlkI2CSWMultiWrite(int address, int subaddress,
                                      const unsigned char* data, int count) {
  if (count > 0 && !data) return kFailure;
  if (!Begin(kReadAndMultiWriteMode)) return kFailure;
  bool ok = SendThenAwaitAck(LowByte(address));
  ok = SendThenAwaitAck(LowByte(subaddress)) && ok;
  for (int i = 0; i < count && ok; ++i) ok = SendThenAwaitAck(data[i]);
  if (!BusStop()) return kFailure;
  return Result(ok);
}
