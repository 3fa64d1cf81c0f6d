// Many create/start/stop/release cycles in one process, which must leave
// no handle and no library behind.

#include <stdio.h>

#include "harness.h"
#include "plugin_test.h"

using namespace harness;
using namespace testsupport;

namespace {

const int kCycles = 200;
const int kWarmUpCycles = 3;
const int kDeliveringCycle = 20;  // every twentieth cycle waits for a key
const DWORD kHandleSlack = 4;

// The handles open in this process. Wine's GetProcessHandleCount answers 0,
// so every handle value up to a bound that a leak of this size would pass
// is tried instead (Wine hands out the lowest free value first).
DWORD HandleCount() {
  const ULONG_PTR kLastProbed = 0x4000;
  DWORD count = 0;
  for (ULONG_PTR value = 4; value < kLastProbed; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

using Cycles = PluginTest;

TEST_F(Cycles, CreateStartStopReleaseLeaveNoHandleOrLibraryBehind) {
  WriteSettings(Settings(10, 10));
  card_->PressKey(18);
  HostApplication host;
  KeyRecorder sink(card_);
  DWORD baseline = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (cycle == kWarmUpCycles) baseline = HandleCount();
    size_t keys = sink.size();
    IRemoteDevice* device = StartWith(&sink, &host);
    ASSERT_NE(nullptr, device);
    if (cycle % kDeliveringCycle == 0) {
      EXPECT_TRUE(sink.WaitForKeys(keys + 1, 3000)) << "cycle " << cycle;
    }
    EXPECT_EQ(S_OK, device->Stop());
    ASSERT_EQ(0u, device->Release()) << "cycle " << cycle;
    ASSERT_EQ(nullptr, GetModuleHandleA("TandorUtl.dll"))
        << "the back end is still loaded after cycle " << cycle;
  }
  DWORD after = HandleCount();
  printf("handles: %lu after %d cycles, %lu after %d\n",
         static_cast<unsigned long>(baseline), kWarmUpCycles,
         static_cast<unsigned long>(after), kCycles);
  EXPECT_LE(after, baseline + kHandleSlack);
  EXPECT_EQ(1, host.count());
  EXPECT_EQ(1, sink.count());

  // With its objects gone, the plug-in library holds no reference on
  // itself: the test's own is the last.
  plugin_.Unload();
  EXPECT_EQ(nullptr, GetModuleHandleA("tandor.dll"));
}

}  // namespace
