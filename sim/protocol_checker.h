// Watches the bus as a logic analyser would: decodes start and stop
// conditions and bytes with their acknowledges, and finds protocol
// violations. It only listens; it never drives a line.
//
// Framing: after a start, every byte takes nine clocks, the ninth for the
// acknowledge. SDA may change only while SCL is low, except for a start or a
// stop, which may come while SCL is high in the first clock of a byte (the
// usual place: the clock that would carry the next byte's first bit) or in
// its ninth clock (a read that ends without a ninth clock: the stop's own
// clock takes that place). The first byte after a start is the address
// byte; when it has the direction bit set and is acknowledged, a device
// sends the bytes that follow and the master must keep SDA released while
// it does, as it must in every acknowledge slot of a byte it sends itself.
#pragma once

#include <string>

#include "line_bus.h"

namespace sim {

class CheckerSink {
 public:
  // SimBusEventType with its byte and acknowledge (see control_table.h).
  virtual void OnBusEvent(int type, int value, int ack) = 0;
  virtual void OnViolation(const std::string& text) = 0;

 protected:
  ~CheckerSink() = default;
};

class ProtocolChecker : public BusListener {
 public:
  explicit ProtocolChecker(CheckerSink& sink) : sink_(sink) {}

  void OnStart(const LineState&) override { OnCondition(true); }
  void OnStop(const LineState&) override { OnCondition(false); }
  void OnSclRise(const LineState& state) override;
  void OnSclFall(const LineState& state) override;
  // Power-on: idle bus.
  void Reset();

 private:
  void OnCondition(bool start);
  void FinishByte(bool ninthClockEnded);
  bool DeviceSending() const { return deviceSends_ && byteIndex_ > 0; }
  void ReportMasterOverDevice();
  std::string Where() const;

  CheckerSink& sink_;
  bool busy_ = false;         // between a start and a stop
  int clocks_ = 0;            // rising SCL edges in the current byte, 0..9
  int value_ = 0;             // data bits of the current byte
  bool acked_ = false;        // SDA low at the ninth rising edge
  int byteIndex_ = 0;         // bytes since the start, address byte 0
  bool deviceSends_ = false;  // an acknowledged read address was seen
  bool masterLowInFirstClock_ = false;
};

}  // namespace sim
