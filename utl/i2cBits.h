// The software I2C bit engine: start and stop conditions, byte transfers and
// acknowledges, built from the driver's four line primitives. Each operation
// returns false when a step failed; the caller then ends the transaction.
//
// Each operation states the line levels it expects and leaves when it
// succeeds: between the start and the stop SCL is low after every operation,
// so that SDA may change.
#pragma once

#include "busDelay.h"

// Releases a line and waits for it to read back high (a device may hold
// SCL low to stretch the clock). Leaves that line high.
bool RaiseScl();
bool RaiseSda();

// SDA falls while SCL is high; both lines are raised first (clocking a
// device that still holds SDA low off the bus). Any levels on entry; leaves
// SCL low and SDA low.
bool BusStart();
// SDA rises while SCL is high, then one more clock leaves both lines high.
// SCL low on entry; leaves both lines high.
bool BusStop();

// Eight bits, most significant first. SCL low on entry; leaves SCL low and
// SDA at the last bit.
bool SendByte(unsigned char byte);
// Eight bits into *byte, most significant first; *byte is cleared first and
// keeps the bits received before a failure. SCL low and SDA released on
// entry; leaves SCL low.
bool ReceiveByte(unsigned char* byte);

// The device's acknowledge after a byte: SDA pulled low on the ninth clock.
// SCL low on entry; leaves SCL low and SDA released, also when no
// acknowledge came.
bool AwaitAck();
// The master's acknowledge after a byte read. SCL low on entry; leaves SCL
// low and SDA low.
void MasterAck();
