// The driver used from a worker thread while another thread presses keys
// and reads records, as the plug-in's tests do.
#include <windows.h>

#include <atomic>
#include <set>

#include "sim_fixture.h"

namespace simtest {
namespace {

using Concurrency = SimTest;

struct Worker {
  ReferenceMaster* master = nullptr;
  int transactions = 0;
  std::atomic<int> failures{0};
  std::set<int> codes;
};

DWORD WINAPI ReadKeys(void* parameter) {
  auto* worker = static_cast<Worker*>(parameter);
  for (int i = 0; i < worker->transactions; ++i) {
    int value = -1;
    if (worker->master->ReadByte(0x97, &value) != 0) ++worker->failures;
    worker->codes.insert(value);
  }
  return 0;
}

TEST_F(Concurrency, TransactionsStayWholeWhileKeysChangeAndRecordsAreRead) {
  Worker worker;
  worker.master = &master_;
  worker.transactions = 300;
  HANDLE thread = CreateThread(nullptr, 0, ReadKeys, &worker, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  int pressed = 0;
  size_t callsSeen = 0;
  while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
    sim_->PressKey(++pressed % 2 ? 0x11 : 0x22);
    sim_->GetBusEvents(nullptr, 0);
    const size_t seen = Calls().size();
    EXPECT_GE(seen, callsSeen) << "records only grow";
    callsSeen = seen;
    Sleep(0);
  }
  CloseHandle(thread);

  EXPECT_EQ(worker.failures, 0);
  for (int code : worker.codes)
    EXPECT_TRUE(code == 0x11 || code == 0x22 || code == 0xAA) << code;
  EXPECT_EQ(sim_->ViolationCount(), 0) << sim_->FirstViolation();
  EXPECT_EQ(BusEvents().size(), 4u * 300);
  EXPECT_EQ(KeyReads().size(), 300u);
  EXPECT_EQ(sim_->TransactionCount(), 300);
}

}  // namespace
}  // namespace simtest
