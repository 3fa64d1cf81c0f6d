#include "bus_notation.h"

#include <stdio.h>

namespace testsupport {

std::string BusNotation(const std::vector<SimBusEvent>& events) {
  std::string text;
  for (const SimBusEvent& event : events) {
    if (!text.empty()) text += ", ";
    char byte[32];
    snprintf(byte, sizeof byte, " %02x %s", event.value,
             event.ack == 1   ? "ack"
             : event.ack == 0 ? "nack"
                              : "noclock");
    switch (event.type) {
      case SIM_EVENT_START:
        text += "START";
        break;
      case SIM_EVENT_STOP:
        text += "STOP";
        break;
      case SIM_EVENT_BYTE_OUT:
        text += "OUT" + std::string(byte);
        break;
      case SIM_EVENT_BYTE_IN:
        text += "IN" + std::string(byte);
        break;
      default:
        text += "?";
        break;
    }
  }
  return text;
}

}  // namespace testsupport
