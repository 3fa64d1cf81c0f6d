// The fixture of the simulated card's tests: the simulated driver loaded
// from the bin folder, its control table, its line primitives and a
// reference master, all reset to power-on before each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "bus_notation.h"
#include "control_table.h"
#include "reference_master.h"
#include "sim_driver.h"

namespace simtest {

class SimTest : public ::testing::Test {
 protected:
  // Loaded once and kept for the life of the test program.
  static HMODULE Driver() {
    static HMODULE driver = harness::LoadSimDriver();
    return driver;
  }

  void SetUp() override {
    ASSERT_NE(Driver(), nullptr) << "BtVid_32.Dll did not load";
    sim_ = Export<SimGetControlFn>(Driver(), "SimGetControl")();
    ASSERT_NE(sim_, nullptr);
    sim_->Reset();
  }

  std::vector<SimBusEvent> BusEvents() const {
    return harness::Records(sim_->GetBusEvents);
  }
  std::vector<SimCall> Calls() const {
    return harness::Records(sim_->GetCalls);
  }
  std::vector<SimSoundWrite> SoundWrites() const {
    return harness::Records(sim_->GetSoundWrites);
  }
  std::vector<SimKeyRead> KeyReads() const {
    return harness::Records(sim_->GetKeyReads);
  }
  // The bus events in the tests' notation (tests/support/bus_notation.h).
  std::string Frame() const { return testsupport::BusNotation(BusEvents()); }
  // A fault for transactions [first, first + count) with the other fields
  // "any".
  int AddFault(int kind, int value, int first = -1, int count = -1,
               int call = -1, int level = -1) {
    const SimFault fault = {kind, first, count, call, level, value};
    return sim_->AddFault(&fault);
  }

  const SimControl* sim_ = nullptr;
  LinePrimitives lines_{Driver()};
  ReferenceMaster master_{lines_};
};

}  // namespace simtest
