// Tests' access to TandorUtl.dll and to the simulated card under it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "control_table.h"
#include "entry_flag_probe.h"
#include "harness.h"

namespace utltest {

// Message boxes as the tests compare them (harness::Summary).
std::vector<std::string> Describe(const std::vector<harness::Box>& boxes);

// TandorUtl.dll from the bin folder, with its exports bound (see
// harness::UtlLibrary) and the message boxes of its load described.
class Utl : public harness::UtlLibrary {
 public:
  Utl() : UtlLibrary(harness::UtlPath()) {}
  std::vector<std::string> boxes() const {
    return Describe(UtlLibrary::boxes());
  }
};

// The simulated driver (or one of its variants) loaded by the test itself,
// until Release or the end of the object.
class HeldDriver : public harness::SimDriver {
 public:
  explicit HeldDriver(const std::string& variant = "") { Load(variant); }
};

using harness::UtlApi;
using harness::UtlPath;

// Runs the client program (utl_client.cpp) from the bin folder with
// `commands`.
harness::ProcessResult RunClient(const std::string& commands);

// Whether the driver library is loaded in this process (by any path).
bool DriverLoaded();

using harness::Lines;
using sim::EntryRegionExists;

// Records of the simulated card.
std::vector<SimCall> Calls(const SimControl* card);
std::vector<SimBusEvent> BusEvents(const SimControl* card);

// A simulated driver call in a short notation: "scl=1" and "sda=0" for the
// line settings, "scl?1" and "sda?0" for the line samples with what they
// returned, "mode(6000)" for I2CInitSWMode, and name(args)->result for the
// rest. A result other than 0 of a line setting is shown as "scl=0->2".
std::string Notation(const SimCall& call);
// The notations of the calls, separated by spaces.
std::string Notation(const std::vector<SimCall>& calls);
// A bus event, e.g. "START", "OUT 97 ack", "IN 12 nack", "IN 5a noclock",
// "STOP".
std::string Notation(const std::vector<SimBusEvent>& events);

}  // namespace utltest
