#include "sim_fixture.h"

#include "harness.h"

namespace simtest {

HMODULE SimTest::Driver() {
  // Loaded once and kept for the life of the test program.
  static HMODULE driver = harness::LoadSimDriver();
  return driver;
}

void SimTest::SetUp() {
  ASSERT_NE(Driver(), nullptr) << "BtVid_32.Dll did not load";
  sim_ = Export<SimGetControlFn>(Driver(), "SimGetControl")();
  ASSERT_NE(sim_, nullptr);
  sim_->Reset();
}

int SimTest::AddFault(int kind, int value, int first, int count, int call,
                      int level) {
  const SimFault fault = {kind, first, count, call, level, value};
  return sim_->AddFault(&fault);
}

}  // namespace simtest
