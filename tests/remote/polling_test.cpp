// The polling loop: the pacing of readings, the sound following the host
// window, the rules for the sound at the end, and the back end's release.
#include "remote_fixture.h"

using namespace remotetest;

namespace {

class Pacing : public PluginTest {};

TEST_F(Pacing, KeyDelaysPaceTheReadings) {
  const int kFirst = 150, kRepeat = 60;
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(kFirst, kRepeat)));
  // Nothing, a held key, nothing, two keys one after the other, nothing,
  // the last key again (new again after a reading without a key), nothing.
  // The first 600 ms without a key leave room for several cycles even where
  // a reading takes many times its usual length (an emulated processor).
  // Each step: from when (ms), which code (-1 releases).
  SimKeyStep script[] = {{600, 7},   {1300, -1}, {1700, 9}, {1850, 3},
                         {2000, -1}, {2200, 3},  {2260, -1}};
  card_->PlayKeyScript(script, 7);
  Sleep(2600);
  StopAndRelease(device_);

  std::vector<SimKeyRead> reads = KeyReads();
  int lastKey = -1;
  int pollDelay = 20;
  size_t keyReadings = 0, repeats = 0, idleBeforeFirstKey = 0;
  for (size_t i = 0; i + 1 < reads.size(); ++i) {
    int code = reads[i].code == 0xAA ? -1 : reads[i].code;
    if (code == -1) {
      lastKey = -1;
      if (keyReadings == 0) ++idleBeforeFirstKey;
    } else {
      ++keyReadings;
      repeats += code == lastKey;
      pollDelay = code == lastKey ? kRepeat : kFirst;
      lastKey = code;
    }
    int64_t gap = reads[i + 1].timeUs - reads[i].timeUs;
    EXPECT_GE(gap, pollDelay * 1000 - kSlackUs)
        << "after reading " << i << " (code " << reads[i].code << ")";
    // Once a key has been read, the pause never returns to 20 ms.
    if (keyReadings > 0) {
      EXPECT_GE(gap, kRepeat * 1000 - kSlackUs);
    }
  }
  // Cycles 20 ms apart before the first key (a generous bound).
  EXPECT_GE(idleBeforeFirstKey, 3u);
  EXPECT_GE(repeats, 3u) << "the held key did not repeat";
  // One call per reading of a key, new or repeated.
  size_t readingsWithKey = 0;
  for (const SimKeyRead& read : reads) readingsWithKey += read.code != 0xAA;
  EXPECT_EQ(readingsWithKey, sink_.size());
}

TEST_F(Pacing, StopBeforeTheFirstCycleStillFollowsTheWindowAtStart) {
  HostWindow window;
  ASSERT_NO_FATAL_FAILURE(StartNewWithoutSink());
  // The worker is in its start-up check (a 500 ms pause before SoundOn).
  StopAndRelease(device_);
  EXPECT_EQ(0u, KeyReads().size());
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(kFindWindowLine, lines[lines.size() - 2]);
  EXPECT_EQ(kBreakLine, lines.back());
  // Sound on, then, the window being there, off after a pause.
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_NO_FATAL_FAILURE(ExpectSoundOnThenOff(writes, 1));
  EXPECT_GE(writes[1].timeUs - writes[0].timeUs, 500000 - kSlackUs);
}

class Sound : public PluginTest {};

TEST_F(Sound, FollowsTheHostWindow) {
  ASSERT_NO_FATAL_FAILURE(StartNewWithoutSink());
  ASSERT_TRUE(WaitForKeyReads(2));
  {
    // Of the host window's class, but not its title.
    HostWindow other("Mirabo 2");
    ASSERT_TRUE(WaitForKeyReads(KeyReads().size() + 3));
  }
  EXPECT_TRUE(SoundWrites().empty());

  int64_t shownUs = card_->NowUs();
  std::unique_ptr<HostWindow> window(new HostWindow);
  ASSERT_TRUE(WaitForSoundWrites(1));
  ASSERT_TRUE(WaitForKeyReads(KeyReads().size() + 3));
  int64_t hiddenUs = card_->NowUs();
  window.reset();
  ASSERT_TRUE(WaitForSoundWrites(5));
  ASSERT_TRUE(WaitForKeyReads(KeyReads().size() + 3));
  EXPECT_EQ(5u, SoundWrites().size()) << "sound switched without a change";
  // Without the window at the end: off once more, whatever it was.
  StopAndRelease(device_);

  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_NO_FATAL_FAILURE(ExpectSoundOnThenOff(writes, 2));
  EXPECT_GE(writes[0].timeUs - shownUs, 500000 - kSlackUs);
  EXPECT_GE(writes[1].timeUs - hiddenUs, 500000 - kSlackUs);
  // Each value twice, in two phases apart, on the software bus.
  EXPECT_EQ(0, card_->SoundState());
  for (const SimSoundWrite& write : writes) EXPECT_EQ(0, write.viaWdm);
  EXPECT_EQ(1u, LogCount(kFindWindowLine));
  EXPECT_EQ(1u, LogCount(kLostWindowLine));
  EXPECT_EQ(kBreakLine, LogLines().back());
}

TEST_F(Sound, WindowThereAtStartIsFollowedOnceBeforeTheFirstReading) {
  HostWindow window;
  ASSERT_NO_FATAL_FAILURE(StartNewWithoutSink());
  ASSERT_TRUE(WaitForKeyReads(3));
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_NO_FATAL_FAILURE(ExpectSoundOnThenOff(writes, 0));
  EXPECT_LT(writes[0].timeUs, KeyReads()[0].timeUs);
  EXPECT_EQ(1, card_->SoundState());
  StopAndRelease(device_);
  EXPECT_EQ(1u, LogCount(kFindWindowLine));
}

TEST_F(Sound, WindowThereButNotYetFollowedIsLeftAloneAtStop) {
  ASSERT_NO_FATAL_FAILURE(StartNew(kMinuteLongDelays));
  card_->PressKey(5);
  ASSERT_TRUE(sink_.WaitForKeys(1));
  // The window comes during the minute-long pause, before the loop could
  // see it.
  HostWindow window;
  StopAndRelease(device_);
  EXPECT_TRUE(SoundWrites().empty());
  EXPECT_EQ(-1, card_->SoundState());
  EXPECT_EQ(0u, LogCount(kFindWindowLine));
}

// With the window there and the sound on: the sound is left on only for
// LeaveSoundOnExit=1, as the closing message reads it.
class SoundAtExit : public PluginTest,
                    public ::testing::WithParamInterface<int> {};

TEST_P(SoundAtExit, IsLeftOnOnlyWhenAskedWithExactlyOne) {
  const int leave = GetParam();
  Settings settings;
  settings.leaveSoundOnExit = leave == 1 ? 0 : 1;
  HostWindow window;
  ASSERT_NO_FATAL_FAILURE(StartNewWithoutSink(settings));
  ASSERT_TRUE(WaitForSoundWrites(1));
  settings.leaveSoundOnExit = leave;
  WriteSettings(settings);
  int64_t stopUs = card_->NowUs();
  StopAndRelease(device_);
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_NO_FATAL_FAILURE(ExpectSoundOnThenOff(writes, leave == 1 ? 0 : 1));
  EXPECT_EQ(leave == 1 ? 1 : 0, card_->SoundState());
  if (leave != 1) {
    EXPECT_GE(writes[1].timeUs - stopUs, 500000 - kSlackUs);
  }
}

INSTANTIATE_TEST_SUITE_P(LeaveSoundOnExit, SoundAtExit,
                         ::testing::Values(0, 1, 2));

class BackEnd : public PluginTest {};

TEST_F(BackEnd, IsGivenBackWhenPollingEnds) {
  // A new process, in which nothing else holds the back end.
  ProcessResult child =
      RunChildTest("Child.PollsAndGivesBackItsBackEnd", dir_.path());
  EXPECT_EQ(0u, child.exitCode) << child.output;
  EXPECT_NE(std::string::npos, child.output.find("[  PASSED  ] 1 test"))
      << child.output;
}

}  // namespace
