// Starting and stopping the plug-in object: the host objects it holds, the
// worker thread, stops and releases from unusual places, and a host that
// uses the object oddly but within its binary contract (Stop twice, Start
// after Stop, a null sink or host object, Stop from inside OnKey): no hang,
// every reference given back, nothing left loaded and the entry flag down.
#include <stdio.h>

#include <atomic>
#include <memory>

#include "remote_fixture.h"

using namespace remotetest;

namespace {

const int kHeldCode = 18;       // Key_Power
const double kNoWaitMs = 1000;  // far below the 5000 ms that Stop may wait
const DWORD kQuietMs = 300;     // long enough for several readings

class StartStopTest : public PluginTest {
 protected:
  // After the last Release: nothing of the plug-in runs or stays loaded
  // but the library the test itself holds, and the flag is down.
  void ExpectAllGivenBack(const sim::HeldEntryRegion& flag) {
    ExpectHostObjectsHeld(1);
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

using Start = StartStopTest;

TEST_F(Start, NullHostIsRefusedHoldsNothingAndIsNoStart) {
  card_->PressKey(kHeldCode);
  WriteSettings(Settings(5, 5));
  ASSERT_NO_FATAL_FAILURE(Create());
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&sink_, nullptr));
  EXPECT_EQ(1, sink_.count());
  EXPECT_EQ(S_OK, device_->Stop());
  EXPECT_EQ(1, sink_.count());
  EXPECT_TRUE(NoMoreReadings()) << "a refused start polls";
  EXPECT_EQ(0u, KeyReads().size());
  EXPECT_EQ(0u, sink_.size());
  ASSERT_EQ(S_OK, device_->Start(&sink_, &host_));
  EXPECT_TRUE(WaitForKeyReads(1));
  EXPECT_EQ(S_OK, device_->Stop());
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(0u, device_->Release());
}

// Started, the object holds one reference to each host object, and refuses
// a second Start before and after Stop; Stop may come twice.
TEST_F(Start, HoldsOneReferenceToEachHostObjectAndRefusesASecondStart) {
  HostApplication otherHost;
  KeyRecorder otherSink;
  card_->PressKey(kHeldCode);
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(5, 5)));
  sim::HeldEntryRegion flag;
  ExpectHostObjectsHeld(2);
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&otherSink, &otherHost));
  // A null host must not make the object forget the host it holds.
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&otherSink, nullptr));
  EXPECT_EQ(1, otherHost.count());
  EXPECT_EQ(1, otherSink.count());
  ExpectHostObjectsHeld(2);
  EXPECT_TRUE(sink_.WaitForKeys(1)) << "the worker does not poll";
  EXPECT_LT(TimedStop(device_), kNoWaitMs);
  ExpectHostObjectsHeld(1);
  size_t delivered = sink_.size();
  // The back end is gone with the first run: polling again would call
  // into an unloaded library.
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&sink_, &host_));
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&otherSink, &otherHost));
  EXPECT_EQ(1, otherHost.count());
  EXPECT_EQ(1, otherSink.count());
  ExpectHostObjectsHeld(1);
  EXPECT_TRUE(NoMoreReadings()) << "polls again after its run";
  EXPECT_EQ(delivered, sink_.size());
  StopPromptlyAndRelease(device_, kNoWaitMs);
  EXPECT_EQ(0, host_.queries());
  EXPECT_EQ(0, sink_.queries());
  ExpectAllGivenBack(flag);
}

TEST_F(Start, NullSinkStillReadsAndLogsKeys) {
  ASSERT_NO_FATAL_FAILURE(StartNewWithoutSink(Settings(5, 5)));
  sim::HeldEntryRegion flag;
  EXPECT_EQ(2, host_.count());
  card_->PressKey(kHeldCode);
  EXPECT_TRUE(WaitForLogLine("> Pressed key code 18"));
  EXPECT_LT(TimedStop(device_), kNoWaitMs);
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(0u, device_->Release());
  ExpectAllGivenBack(flag);
}

TEST_F(Start, ReleaseWithoutStopEndsTheWorkerAndGivesBackHostObjects) {
  card_->PressKey(kHeldCode);
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(5, 5)));
  sim::HeldEntryRegion flag;
  ASSERT_TRUE(sink_.WaitForKeys(2));
  double start = NowMs();
  EXPECT_EQ(0u, device_->Release());
  EXPECT_LT(NowMs() - start, kNoWaitMs);
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(kBreakLine, LogLines().back());
  size_t delivered = sink_.size();
  EXPECT_TRUE(NoMoreReadings()) << "the worker still polls";
  EXPECT_EQ(delivered, sink_.size());
  ExpectAllGivenBack(flag);
}

// Many cycles in one process must leave no handle and no library behind.
// Wine's GetProcessHandleCount answers 0, so every handle value up to a
// bound that a leak of this size would pass is tried instead (Wine hands
// out the lowest free value first).
DWORD HandleCount() {
  const ULONG_PTR kLastProbed = 0x4000;
  DWORD count = 0;
  for (ULONG_PTR value = 4; value < kLastProbed; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

TEST_F(Start, TwoHundredCyclesLeaveNoHandleOrLibraryBehind) {
  const int kCycles = 200, kWarmUpCycles = 3;
  const int kDeliveringCycle = 20;  // every twentieth cycle waits for a key
  const DWORD kHandleSlack = 4;
  WriteSettings(Settings(10, 10));
  card_->PressKey(kHeldCode);
  DWORD baseline = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (cycle == kWarmUpCycles) baseline = HandleCount();
    size_t keys = sink_.size();
    ASSERT_NO_FATAL_FAILURE(StartWith(&sink_, &host_)) << "cycle " << cycle;
    if (cycle % kDeliveringCycle == 0) {
      EXPECT_TRUE(sink_.WaitForKeys(keys + 1)) << "cycle " << cycle;
    }
    EXPECT_EQ(S_OK, device_->Stop());
    ASSERT_EQ(0u, device_->Release()) << "cycle " << cycle;
    ASSERT_EQ(nullptr, GetModuleHandleA("TandorUtl.dll"))
        << "the back end is still loaded after cycle " << cycle;
  }
  DWORD after = HandleCount();
  printf("handles: %lu after %d cycles, %lu after %d\n",
         static_cast<unsigned long>(baseline), kWarmUpCycles,
         static_cast<unsigned long>(after), kCycles);
  EXPECT_LE(after, baseline + kHandleSlack);
  ExpectHostObjectsHeld(1);
  // With its objects gone, the plug-in library holds no reference on
  // itself: the test's own is the last.
  plugin_.Unload();
  EXPECT_EQ(nullptr, GetModuleHandleA("tandor.dll"));
}

// The test build of the plug-in: its stop event and worker thread fail.
class StartSeam : public SeamTest {
 protected:
  // A new object whose Start meets `failure` and is refused.
  void CreateAndFailToStart(const std::string& failure) {
    ASSERT_NO_FATAL_FAILURE(Create());
    ScopedEnvironment failing({"TANDOR_TEST_FAIL=" + failure});
    EXPECT_EQ(E_UNEXPECTED, device_->Start(&sink_, &host_));
  }
};

TEST_F(StartSeam, StopEventFailureGivesBackWhatStartTook) {
  ASSERT_NO_FATAL_FAILURE(CreateAndFailToStart("event"));
  ExpectHostObjectsHeld(1);
  Sleep(100);
  EXPECT_EQ(0u, KeyReads().size());
  // Nothing was started, so a later Start may succeed.
  ASSERT_EQ(S_OK, device_->Start(&sink_, &host_));
  EXPECT_TRUE(WaitForKeyReads(1));
  EXPECT_EQ(S_OK, device_->Stop());
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(0u, device_->Release());
}

TEST_F(StartSeam, ThreadFailureHoldsHostObjectsUntilStop) {
  ASSERT_NO_FATAL_FAILURE(CreateAndFailToStart("thread"));
  ExpectHostObjectsHeld(2);
  EXPECT_EQ(E_UNEXPECTED, device_->Start(&sink_, &host_));
  EXPECT_EQ(2, host_.count());
  EXPECT_LT(TimedStop(device_), 3000) << "waited for a thread that is not";
  ExpectHostObjectsHeld(1);
  EXPECT_EQ(0u, KeyReads().size());
  EXPECT_EQ(0u, device_->Release());
}

using Stop = StartStopTest;

TEST_F(Stop, ReturnsPromptlyWithMinuteLongKeyDelays) {
  ASSERT_NO_FATAL_FAILURE(StartNew(kMinuteLongDelays));
  card_->PressKey(5);
  ASSERT_TRUE(sink_.WaitForKeys(1));
  // The loop now pauses a minute before its next reading.
  EXPECT_LT(TimedStop(device_), 3000);
  ExpectHostObjectsHeld(1);
  // Straight from the pause to the exit steps: no further reading.
  std::vector<SimKeyRead> reads = KeyReads();
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(5, reads.back().code);
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_EQ(0u, device_->Release());
}

// The host's stop from inside OnKey only asks the worker to end; then the
// host stops the object again and makes its last Release, or (false) makes
// only its last Release.
class StopInsideOnKey : public StartStopTest,
                        public ::testing::WithParamInterface<bool> {};

TEST_P(StopInsideOnKey, OnlyAsksTheWorkerToEnd) {
  std::atomic<int> calls{0};
  std::atomic<int> stopMs{-1};
  sink_.onKey = [&] {
    if (++calls == 1) stopMs = static_cast<int>(TimedStop(device_));
  };
  card_->PressKey(kHeldCode);
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(5, 5)));
  sim::HeldEntryRegion flag;
  ASSERT_TRUE(WaitUntil([&] { return stopMs >= 0; }, 10000))
      << "Stop inside OnKey does not return";
  EXPECT_LT(stopMs.load(), kNoWaitMs);
  EXPECT_TRUE(WaitForLogLine(kBreakLine));
  // The worker ends (its exit steps switch the sound off, the window being
  // absent): no further key, no reading; yet both host objects stay held
  // until the host stops it or lets it go.
  EXPECT_TRUE(WaitForSoundWrites(4));
  EXPECT_TRUE(NoMoreReadings());
  ExpectHostObjectsHeld(2);
  EXPECT_EQ(1u, sink_.size());
  EXPECT_EQ(1, calls.load());
  if (GetParam()) {
    EXPECT_LT(TimedStop(device_), kNoWaitMs);
    ExpectHostObjectsHeld(1);
  }
  EXPECT_EQ(0u, device_->Release());
  ExpectAllGivenBack(flag);
}

INSTANTIATE_TEST_SUITE_P(Host, StopInsideOnKey, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "ThenStopsAndReleases"
                                             : "ThenOnlyReleases";
                         });

TEST_F(Stop, LastReleaseInsideOnKeyLeavesTheObjectToTheWorker) {
  Event released;
  std::atomic<bool> done{false};
  std::atomic<ULONG> releaseResult{99};
  sink_.onKey = [&] {
    if (done.exchange(true)) return;
    releaseResult = device_->Release();
    SetEvent(released.handle);
    // Return into the plug-in only after the host has unloaded it.
    Sleep(100);
  };
  ASSERT_NO_FATAL_FAILURE(StartNew());
  card_->PressKey(kHeldCode);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(released.handle, 3000));
  EXPECT_EQ(0u, releaseResult.load());
  // The host may unload the plug-in right after its last Release; the
  // worker keeps the library loaded until it has ended.
  plugin_.Unload();
  EXPECT_TRUE(WaitForHostObjectsBack());
  EXPECT_TRUE(WaitUntil(
      [&] { return GetModuleHandleA("tandor.dll") == nullptr; }, 3000));
  EXPECT_EQ(kBreakLine, LogLines().back());
  EXPECT_EQ(1u, sink_.size());
}

// OnKey that stays busy until the test lets it go (at the latest when the
// object goes); the sink records the key first, so that its arrival says
// the worker is inside OnKey.
class BusyOnKey {
 public:
  explicit BusyOnKey(KeyRecorder& sink) {
    sink.onKey = [this] { WaitForSingleObject(release_.handle, 20000); };
  }
  ~BusyOnKey() {
    Release();
    Sleep(200);  // let the worker leave OnKey
  }
  void Release() { SetEvent(release_.handle); }

 private:
  Event release_;
};

// A Stop that waited out its limit leaves the rest of the stop to the
// worker: the worker gives the host objects back when it ends, and neither a
// later Stop nor the last Release waits the limit again.
TEST_F(Stop, AfterWaitingOutTheLimitTheWorkerCompletesTheStop) {
  BusyOnKey busy(sink_);
  ASSERT_NO_FATAL_FAILURE(StartNew());
  card_->PressKey(kHeldCode);
  ASSERT_TRUE(sink_.WaitForKeys(1));
  EXPECT_GE(TimedStop(device_), 4900) << "did not wait for the worker";
  ExpectHostObjectsHeld(2);
  // Waiting the limit again would take its 5 s; returning at once takes
  // nothing, however slow the machine.
  DWORD start = GetTickCount();
  EXPECT_EQ(S_OK, device_->Stop());
  EXPECT_EQ(0u, device_->Release());
  EXPECT_LT(GetTickCount() - start, 2500u) << "waited the limit again";
  ExpectHostObjectsHeld(2);
  busy.Release();
  EXPECT_TRUE(WaitForHostObjectsBack());
  EXPECT_EQ(kBreakLine, LogLines().back());
}

// Calls that come back into the object from a host object's Release, as a
// host's application object may make on its last reference.
class CallBack : public PluginTest {
 protected:
  // Starts an object and, once it polls, stops it; `callBack` comes back
  // into it from inside the host object's Release.
  void StopCallingBack(const std::function<void()>& callBack) {
    host_.callBack = [&] {
      for (std::unique_ptr<Event>& event : recycled_) event.reset(new Event);
      callBack();
    };
    ASSERT_NO_FATAL_FAILURE(StartNew());
    EXPECT_TRUE(WaitForKeyReads(1));
    EXPECT_EQ(S_OK, device_->Stop());
    host_.callBack = nullptr;
    ASSERT_TRUE(recycled_[0]) << "the host object was not released";
    for (const std::unique_ptr<Event>& event : recycled_)
      EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(event->handle, 0))
          << "signalled a closed stop event";
    ExpectHostObjectsHeld(1);
  }
  // Starts an object whose host object's Release, once the plug-in gave
  // back its reference, calls back Release, AddRef and Stop and notes what
  // they return in calls_.
  void StartCallingBackDuringDestruction() {
    host_.callBack = [this] {
      ULONG released = device_->Release();
      ULONG added = device_->AddRef();
      HRESULT stopped = device_->Stop();
      calls_ = std::to_string(released) + " " + std::to_string(added) + " " +
               std::to_string(stopped);
    };
    StartNew();
  }

  // Events made inside the call back, just after the plug-in closed its
  // thread and stop event. Wine hands out the lowest free handle value
  // first, so they take the values the plug-in gave up: a call coming back
  // that still used the closed handles would signal or wait on one of them.
  std::unique_ptr<Event> recycled_[8];
  std::string calls_;
};

TEST_F(CallBack, StopFromTheHostObjectsReleaseFindsAStoppedObject) {
  HRESULT again = E_FAIL;
  ASSERT_NO_FATAL_FAILURE(StopCallingBack([&] { again = device_->Stop(); }));
  EXPECT_EQ(S_OK, again);
  EXPECT_EQ(0u, device_->Release());
}

// The host's own reference lives in its application object, which gives it
// up on its last reference.
TEST_F(CallBack, LastReleaseFromTheHostObjectsReleaseFreesTheObject) {
  ULONG released = 99;
  ASSERT_NO_FATAL_FAILURE(
      StopCallingBack([&] { released = device_->Release(); }));
  EXPECT_EQ(0u, released);
}

TEST_F(CallBack, DuringTheLastReleaseFindsTheCountAtZero) {
  ASSERT_NO_FATAL_FAILURE(StartCallingBackDuringDestruction());
  ASSERT_TRUE(WaitForKeyReads(1));
  EXPECT_EQ(0u, device_->Release());
  EXPECT_EQ("0 0 0", calls_) << "Release, AddRef, Stop";
  ExpectHostObjectsHeld(1);
}

TEST_F(CallBack, OnTheWorkerThatWasHandedTheObjectFindsTheCountAtZero) {
  BusyOnKey busy(sink_);
  ASSERT_NO_FATAL_FAILURE(StartCallingBackDuringDestruction());
  card_->PressKey(kHeldCode);
  ASSERT_TRUE(sink_.WaitForKeys(1));
  // The last Release while the worker is busy leaves the object to it.
  EXPECT_EQ(0u, device_->Release());
  ExpectHostObjectsHeld(2);
  busy.Release();
  EXPECT_TRUE(WaitForHostObjectsBack());
  EXPECT_EQ("0 0 0", calls_) << "Release, AddRef, Stop";
  EXPECT_EQ(kBreakLine, LogLines().back());
}

}  // namespace
