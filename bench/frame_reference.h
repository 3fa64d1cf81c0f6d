// The least line work an I2C frame needs: the reference against which the
// library's driver calls are set.
//
// The reference master drives the two open-drain lines of an idle bus (both
// high) and counts one operation for every line setting and every line
// sample:
//   start        SDA low (SCL high), SCL low                           2
//   byte out     per bit: set SDA, SCL high, SCL low                   8 x 3
//                ninth clock: release SDA, SCL high, sample SDA, SCL
//                low                                                    4
//   byte in      per bit: SCL high, sample SDA, SCL low (SDA is
//                released since the acknowledge clock before)          8 x 3
//   master ack   SDA low, SCL high, SCL low                            3
//   master nack  SCL high, SCL low (SDA is still released)             2
//   stop         SDA low unless the master already holds it low, SCL
//                high, SDA high                                        2 or 3
// It sets SDA for every bit, even when the bit repeats the one before (a
// master that skipped those would save a few operations, how many depends
// on the byte), and it never reads back a line it released; a master that
// lets a device stretch the clock samples SCL once after each release of
// SCL, which `sclReleases` counts.
#pragma once

#include <vector>

enum FrameStep {
  kFrameStart,
  kFrameByteOut,      // a byte and the device's acknowledge
  kFrameByteInAck,    // a byte from the device, acknowledged by the master
  kFrameByteInNoAck,  // a byte from the device, not acknowledged
  kFrameStop,
};

struct LineWork {
  int settings = 0;     // line settings (SCL or SDA)
  int samples = 0;      // line samples (SDA; the acknowledge and data bits)
  int sclReleases = 0;  // SCL set high
  int total() const { return settings + samples; }
  // With one SCL sample after each SCL release, for clock stretching.
  int totalWithStretchCheck() const { return total() + sclReleases; }
};

LineWork LeastLineWork(const std::vector<FrameStep>& frame);

// Start, the address byte, one byte in with the master's acknowledge, stop:
// DlkI2CSWReadByte's frame for the remote receiver (address byte 0x97).
std::vector<FrameStep> ReadByteFrame();
// Start, three bytes out, stop: DlkI2CSWWrite3's frame.
std::vector<FrameStep> Write3Frame();
