// The driver used from a worker thread while another thread presses keys
// and reads records, as the plug-in's tests do.
#include <windows.h>

#include <atomic>
#include <set>
#include <thread>

#include "sim_fixture.h"

namespace simtest {
namespace {

using Concurrency = SimTest;

TEST_F(Concurrency, TransactionsStayWholeWhileKeysChangeAndRecordsAreRead) {
  std::atomic<int> failures{0};
  std::atomic<bool> done{false};
  std::set<int> codes;  // the worker's, read after it has ended
  std::thread worker([&] {
    for (int i = 0; i < 300; ++i) {
      int value = -1;
      if (master_.ReadByte(0x97, &value) != 0) ++failures;
      codes.insert(value);
    }
    done = true;
  });
  int pressed = 0;
  size_t callsSeen = 0;
  while (!done) {
    sim_->PressKey(++pressed % 2 ? 0x11 : 0x22);
    sim_->GetBusEvents(nullptr, 0);
    const size_t seen = Calls().size();
    EXPECT_GE(seen, callsSeen) << "records only grow";
    callsSeen = seen;
    Sleep(0);
  }
  worker.join();

  EXPECT_EQ(failures, 0);
  for (int code : codes)
    EXPECT_TRUE(code == 0x11 || code == 0x22 || code == 0xAA) << code;
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
  EXPECT_EQ(BusEvents().size(), 4u * 300);
  EXPECT_EQ(KeyReads().size(), 300u);
  EXPECT_EQ(sim_->TransactionCount(), 300);
}

}  // namespace
}  // namespace simtest
