// Stated here on purpose, apart from utl/i2cBits.cpp, as the tests' oracle:
// how often TandorUtl's bit engine samples a line before it gives up.
#pragma once

namespace testsupport {

// Samples of a released line (SCL or SDA) before a raise fails: a device
// that holds SCL low for this many samples makes the step fail.
constexpr int kRaiseSamples = 501;
// Samples of SDA for a device's acknowledge.
constexpr int kAckSamples = 1500;

}  // namespace testsupport
