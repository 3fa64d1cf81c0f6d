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
  // By SimBusEventType; "?" for a type the card does not record.
  static const char* const kTypes[] = {"?", "START", "STOP", "OUT", "IN"};
  std::string text;
  for (const SimBusEvent& event : events) {
    if (!text.empty()) text += ", ";
    bool known =
        event.type >= SIM_EVENT_START && event.type <= SIM_EVENT_BYTE_IN;
    text += kTypes[known ? event.type : 0];
    if (event.type != SIM_EVENT_BYTE_OUT && event.type != SIM_EVENT_BYTE_IN)
      continue;
    char byte[32];
    snprintf(byte, sizeof byte, " %02x %s", event.value,
             event.ack == 1   ? "ack"
             : event.ack == 0 ? "nack"
                              : "noclock");
    text += byte;
  }
  return text;
}

}  // namespace testsupport
