#include "bus_notation.h"

#include <stdio.h>

namespace testsupport {

namespace {

std::string Hex(int value) {
  char text[16];
  snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::string AckWord(int ack) {
  return ack == 1 ? "ack" : ack == 0 ? "nack" : "noclock";
}

}  // namespace

std::string BusNotation(const std::vector<SimBusEvent>& events) {
  std::string text;
  for (const SimBusEvent& event : events) {
    if (!text.empty()) text += ", ";
    switch (event.type) {
      case SIM_EVENT_START:
        text += "START";
        break;
      case SIM_EVENT_STOP:
        text += "STOP";
        break;
      case SIM_EVENT_BYTE_OUT:
        text += "OUT " + Hex(event.value) + " " + AckWord(event.ack);
        break;
      case SIM_EVENT_BYTE_IN:
        text += "IN " + Hex(event.value) + " " + AckWord(event.ack);
        break;
      default:
        text += "?";
        break;
    }
  }
  return text;
}

}  // namespace testsupport
