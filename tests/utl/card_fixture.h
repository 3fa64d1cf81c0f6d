// A test with TandorUtl loaded on the simulated card, the card freshly reset.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driverApi.h"
#include "line_script.h"
#include "harness.h"
#include "utl_session.h"

namespace utltest {

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // A fault for the next transaction only.
  void Fault(SimFaultKind kind, int value, int call = -1, int level = -1);

  std::vector<SimCall> LineCalls() const { return Calls(card_); }
  std::string CallText() const { return Notation(Calls(card_)); }
  std::string BusText() const { return Notation(BusEvents(card_)); }
  // How many calls of `function` the record holds.
  int CountCalls(int function) const;
  // Microseconds from the last recorded driver call until now: after a
  // transaction returns, how long it went on past its last bus activity.
  long long TimeSinceLastCall() const;

  // A successful transaction leaves both lines high and broke no rule.
  void ExpectIdleBusWithoutViolation() const;

  Utl utl_;
  const SimControl* card_ = nullptr;
};

}  // namespace utltest
