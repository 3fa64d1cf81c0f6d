// What happened on the simulated card's bus, in one notation for every
// test: "START, OUT 97 ack, IN 12 ack, STOP" (a byte sent by the master,
// a byte sent by a device; "nack" when it was not acknowledged, "noclock"
// when no ninth clock came).
#pragma once

#include <string>
#include <vector>

#include "control_table.h"

namespace testsupport {

std::string BusNotation(const std::vector<SimBusEvent>& events);

}  // namespace testsupport
