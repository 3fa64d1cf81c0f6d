// The software I2C bit engine: start and stop conditions, byte transfers and
// acknowledges, built from the driver's four line primitives. Each operation
// returns false when a step failed; the caller then ends the transaction.
#pragma once

#include "busDelay.h"

// Releases a line and waits for it to read back high (a device may hold
// SCL low to stretch the clock).
bool RaiseScl();
bool RaiseSda();

// SDA falls while SCL is high; both lines are raised first.
bool BusStart();
// SDA rises while SCL is high, then one more clock leaves both lines high.
bool BusStop();

// Eight bits, most significant first.
bool SendByte(unsigned char byte);
// Eight bits into *byte, most significant first; *byte is cleared first and
// keeps the bits received before a failure.
bool ReceiveByte(unsigned char* byte);

// The device's acknowledge after a byte: SDA pulled low on the ninth clock.
bool AwaitAck();
// The master's acknowledge after a byte read; leaves SDA low.
void MasterAck();
