// TandorUtl's fixture: TandorUtl.dll loaded from the bin folder with every
// export bound, on the simulated card, reset for each test. Also what the
// library's test files share: its load boxes as the tests compare them, the
// client process (utl_client.cpp), and the driver calls in a short
// notation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driverApi.h"
#include "entry_flag_probe.h"
#include "bus_notation.h"
#include "fault_table.h"
#include "harness.h"
#include "line_script.h"

namespace utltest {

using harness::Lines;
using harness::UtlApi;
using sim::EntryRegionExists;
using Texts = std::vector<std::string>;

// Message boxes as the tests compare them (harness::Summary).
std::vector<std::string> Describe(const std::vector<harness::Box>& boxes);

// Whether the driver library is loaded in this process (by any path).
inline bool DriverLoaded() {
  return GetModuleHandleA(DRIVER_LIBRARY_NAME) != nullptr;
}

// A simulated driver call in a short notation: "scl=1" and "sda=0" for the
// line settings, "scl?1" and "sda?0" for the line samples with what they
// returned, "mode(6000)" for I2CInitSWMode, and name(args)->result for the
// rest. A result other than 0 of a line setting is shown as "scl=0->2".
std::string Notation(const SimCall& call);
// The notations of the calls, separated by spaces.
std::string Notation(const std::vector<SimCall>& calls);

// TandorUtl.dll from the bin folder, its exports bound and the message
// boxes of its load described.
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

// What a transaction gave: its result, and the variable that a read
// stores into, which starts as kUntouched.
struct Outcome {
  int result = -1;
  int value = -1;
};
const int kUntouched = 0x33;

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // TandorUtl gives back exactly the one reference to the driver that it
  // took: the test's own is then the last one.
  void TearDown() override;

  // A fault for the next transaction only.
  void Fault(SimFaultKind kind, int value, int call = -1);

  // The transaction of the fault table's frame (fault_table.h).
  Outcome Transact(testsupport::Transaction transaction) const;
  int SoundOn() const { return utl_->DlkI2CSWWrite3(0x96, 2, 0x20); }
  // Each transaction fails and a read stores nothing; `before` runs ahead
  // of each.
  void ExpectEveryTransactionFails(
      const std::function<void()>& before = nullptr) const;

  std::vector<SimCall> LineCalls() const {
    return harness::Records(card_->GetCalls);
  }
  std::string CallText() const { return Notation(LineCalls()); }
  std::string BusText() const {
    return testsupport::BusNotation(harness::Records(card_->GetBusEvents));
  }
  // Microseconds from the last recorded driver call until now: after a
  // transaction returns, how long it went on past its last bus activity.
  long long TimeSinceLastCall() const;

  // A successful transaction leaves both lines high and broke no rule.
  void ExpectIdleBusWithoutViolation() const;

  // The driver is held by the test before TandorUtl binds it and given
  // back after, so that the card stays reachable whatever TandorUtl does
  // with its own reference.
  HeldDriver driver_;
  Utl utl_;
  const SimControl* card_ = nullptr;
};

// Runs the client program (utl_client.cpp) from the bin folder with
// `commands`.
harness::ProcessResult RunClient(const std::string& commands);

}  // namespace utltest
