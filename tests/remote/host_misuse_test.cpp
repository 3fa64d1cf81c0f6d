// A host that uses the plug-in oddly but within its binary contract: Stop
// twice, Release of a started object, Start after Stop, a null sink, a null
// host object, Stop from inside OnKey. No crash, no hang, every reference
// given back, nothing left loaded and the entry flag down.

#include <atomic>

#include "timed_work.h"
#include "entry_flag_probe.h"
#include "harness.h"
#include "plugin_test.h"

using namespace harness;
using namespace testsupport;

namespace {

const int kHeldCode = 18;       // Key_Power
const double kNoWaitMs = 1000;  // far below the 5000 ms that Stop may wait
const DWORD kQuietMs = 300;     // long enough for several readings

class HostMisuse : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteSettings(Settings(5, 5));
    card_->PressKey(kHeldCode);
  }

  // After the last Release: nothing of the plug-in runs or stays loaded
  // but the library the test itself holds, and the flag is down.
  void ExpectAllGivenBack(const sim::HeldEntryRegion& flag) {
    EXPECT_EQ(1, host_.count());
    EXPECT_EQ(1, sink_.count());
    EXPECT_EQ(0, flag.value());
    EXPECT_EQ(nullptr, GetModuleHandleA("TandorUtl.dll"));
    plugin_.Unload();
    EXPECT_EQ(nullptr, GetModuleHandleA("tandor.dll"));
  }

  // Whether the card sees no reading of the receiver for kQuietMs (the
  // exit steps of a run that is ending may still switch the sound off).
  bool NoMoreReadings() const {
    int before = ReadTransactions();
    Sleep(kQuietMs);
    return ReadTransactions() == before;
  }
};

TEST_F(HostMisuse, StopTwice) {
  IRemoteDevice* device = StartWith(&sink_, &host_);
  ASSERT_NE(nullptr, device);
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(sink_.WaitForKeys(1, 3000));
  EXPECT_LT(TimedStop(device), kNoWaitMs);
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(1, sink_.count());
  EXPECT_LT(TimedStop(device), kNoWaitMs);
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(1, sink_.count());
  EXPECT_EQ(0u, device->Release());
  ExpectAllGivenBack(flag);
}

TEST_F(HostMisuse, ReleaseOfAStartedObject) {
  IRemoteDevice* device = StartWith(&sink_, &host_);
  ASSERT_NE(nullptr, device);
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(sink_.WaitForKeys(2, 3000));
  double start = NowMs();
  EXPECT_EQ(0u, device->Release());
  EXPECT_LT(NowMs() - start, kNoWaitMs);
  size_t delivered = sink_.size();
  EXPECT_TRUE(NoMoreReadings());
  EXPECT_EQ(delivered, sink_.size());
  ExpectAllGivenBack(flag);
}

TEST_F(HostMisuse, StartAfterStopIsRefused) {
  IRemoteDevice* device = StartWith(&sink_, &host_);
  ASSERT_NE(nullptr, device);
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(sink_.WaitForKeys(1, 3000));
  EXPECT_EQ(S_OK, device->Stop());
  size_t delivered = sink_.size();
  // The back end is gone with the first run: polling again would call
  // into an unloaded library.
  EXPECT_EQ(E_UNEXPECTED, device->Start(&sink_, &host_));
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(1, sink_.count());
  EXPECT_TRUE(NoMoreReadings());
  EXPECT_EQ(delivered, sink_.size());
  EXPECT_LT(TimedStop(device), kNoWaitMs);
  EXPECT_EQ(0u, device->Release());
  ExpectAllGivenBack(flag);
}

TEST_F(HostMisuse, NullSinkReadsAndLogsKeysForNobody) {
  IRemoteDevice* device = StartWith(nullptr, &host_);
  ASSERT_NE(nullptr, device);
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(harness::WaitUntil(
      [&] {
        return LogWithLineFeeds().find("> Pressed key code 18\n") !=
               std::string::npos;
      },
      3000));
  EXPECT_LT(TimedStop(device), kNoWaitMs);
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(0u, sink_.size());
  ExpectAllGivenBack(flag);
}

TEST_F(HostMisuse, NullHostObjectIsRefused) {
  IRemoteDevice* device = plugin_.CreateObject();
  ASSERT_NE(nullptr, device);
  EXPECT_EQ(E_UNEXPECTED, device->Start(&sink_, nullptr));
  EXPECT_EQ(1, sink_.count());
  EXPECT_TRUE(NoMoreReadings());
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(0u, sink_.size());
  // Never started, the object kept its back end loaded, as documented, for
  // the rest of the process. The test gives that reference back itself so
  // that the tests after it start without it.
  HMODULE kept = GetModuleHandleA("TandorUtl.dll");
  EXPECT_NE(nullptr, kept);
  if (kept) FreeLibrary(kept);
}

TEST_F(HostMisuse, StopFromInsideOnKey) {
  IRemoteDevice* device = plugin_.CreateObject();
  ASSERT_NE(nullptr, device);
  std::atomic<int> calls{0};
  std::atomic<int> stopMs{-1};
  std::atomic<HRESULT> stopResult{E_FAIL};
  sink_.onKey = [&] {
    if (++calls != 1) return;
    double start = NowMs();
    stopResult = device->Stop();
    stopMs = static_cast<int>(NowMs() - start);
  };
  ASSERT_EQ(S_OK, device->Start(&sink_, &host_));
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(harness::WaitUntil([&] { return stopMs >= 0; }, 10000))
      << "Stop inside OnKey did not return";
  EXPECT_EQ(S_OK, stopResult.load());
  EXPECT_LT(stopMs.load(), kNoWaitMs);
  // The worker ends once OnKey has returned: no further key, no reading.
  EXPECT_TRUE(NoMoreReadings());
  EXPECT_EQ(1, calls.load());
  // The host's own Stop completes it.
  EXPECT_LT(TimedStop(device), kNoWaitMs);
  EXPECT_EQ(0u, device->Release());
  ExpectAllGivenBack(flag);
}

TEST_F(HostMisuse, StopFromInsideOnKeyThenOnlyRelease) {
  IRemoteDevice* device = plugin_.CreateObject();
  ASSERT_NE(nullptr, device);
  std::atomic<int> calls{0};
  sink_.onKey = [&] {
    if (++calls == 1) device->Stop();
  };
  ASSERT_EQ(S_OK, device->Start(&sink_, &host_));
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(sink_.WaitForKeys(1, 3000));
  EXPECT_TRUE(NoMoreReadings());
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(1, calls.load());
  ExpectAllGivenBack(flag);
}

}  // namespace
