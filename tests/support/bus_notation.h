// What happened on the simulated card's bus, in one notation for every
// test: "START, OUT 97 ack, IN 12 ack, STOP" (a byte sent by the master,
// a byte sent by a device; "nack" when it was not acknowledged, "noclock"
// when no ninth clock came).
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "control_table.h"

namespace testsupport {

inline std::string BusNotation(const std::vector<SimBusEvent>& events) {
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
