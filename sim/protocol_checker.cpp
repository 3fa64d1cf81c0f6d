#include "protocol_checker.h"

#include "control_table.h"

namespace sim {

void ProtocolChecker::Reset() {
  busy_ = false;
  clocks_ = 0;
  masterLowInFirstClock_ = false;
}

std::string ProtocolChecker::Where() const {
  return "byte " + std::to_string(byteIndex_) + ", clock " +
         std::to_string(clocks_);
}

void ProtocolChecker::OnCondition(bool start) {
  if (busy_) {
    if (clocks_ >= 2 && clocks_ <= 8) {
      sink_.OnViolation(std::string("SDA ") + (start ? "fell" : "rose") +
                        " while SCL was high inside a byte (" + Where() +
                        "): a " + (start ? "start" : "stop") +
                        " in the middle of a byte");
    } else if (clocks_ == 9) {
      FinishByte(false);
    }
  }
  sink_.OnBusEvent(start ? SIM_EVENT_START : SIM_EVENT_STOP, 0, 0);
  busy_ = start;
  masterLowInFirstClock_ = false;
  clocks_ = 0;
  value_ = 0;
  byteIndex_ = 0;
  deviceSends_ = false;
}

void ProtocolChecker::OnSclRise(const LineState& state) {
  if (!busy_) {
    if (!state.sda)
      sink_.OnViolation(
          "SCL rose while SDA was low on an idle bus: clocks without a start "
          "condition");
    return;
  }
  ++clocks_;
  if (clocks_ <= 8) {
    value_ = ((value_ << 1) | (state.sda ? 1 : 0)) & 0xFF;
    // In the first clock the master may be pulling SDA low for a stop that
    // it makes in this clock's high phase; only the falling edge tells.
    if (DeviceSending() && !state.masterSda) {
      if (clocks_ == 1)
        masterLowInFirstClock_ = true;
      else
        ReportMasterOverDevice();
    }
  } else {
    acked_ = !state.sda;
    if (!DeviceSending() && !state.masterSda)
      sink_.OnViolation(
          "the master pulled SDA low in the acknowledge slot of its own "
          "byte (" +
          Where() + ")");
  }
}

void ProtocolChecker::OnSclFall(const LineState&) {
  if (!busy_) return;
  if (clocks_ == 1 && masterLowInFirstClock_) ReportMasterOverDevice();
  masterLowInFirstClock_ = false;
  if (clocks_ == 9) FinishByte(true);
}

void ProtocolChecker::ReportMasterOverDevice() {
  sink_.OnViolation("the master pulled SDA low while a device sent a bit (" +
                    Where() + ")");
}

// A byte ends with the fall of its ninth clock, or with a start or stop in
// that clock's high phase (then a device's byte had no ninth clock of its
// own).
void ProtocolChecker::FinishByte(bool ninthClockEnded) {
  if (DeviceSending()) {
    sink_.OnBusEvent(SIM_EVENT_BYTE_IN, value_,
                     ninthClockEnded ? (acked_ ? 1 : 0) : -1);
  } else {
    sink_.OnBusEvent(SIM_EVENT_BYTE_OUT, value_, acked_ ? 1 : 0);
    if (byteIndex_ == 0) deviceSends_ = (value_ & 1) != 0 && acked_;
  }
  ++byteIndex_;
  clocks_ = 0;
  value_ = 0;
}

}  // namespace sim
