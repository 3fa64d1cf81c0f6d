// The plug-in end to end in the stand-in host, on both back ends: a scripted
// session on the simulated card with the main window opening and closing.
// Times are checked only as orders and lower bounds.
#include <gtest/gtest.h>

#include "host_run.h"

using namespace system_test;

namespace {

struct BackEndCase {
  const char* name;
  const char* version;
  const char* soundSuffix;  // how the host marks a write's path
  // A variant of TandorUtl.dll from bin\variants instead of the delivered
  // one, or null.
  const char* utlVariant;
};

const int kFirstDelay = 250;
const int kRepeatDelay = 80;
// The receiver's script: digit 1, VolumeUp held for a second, ChannelUp.
// It begins 3.2 s into the run, well after Start even where loading the
// plug-in and binding its back end take a second or more (an emulated
// processor), so that every key falls in a started session.
const int kDigitAt = 3200, kVolumeUpAt = 3500, kChannelUpAt = 4600;
const int kWindowClosesAt = 5100;
const char kArgs[] =
    "--answer-boxes --window open@0,close@5100 --run 6300 "
    "--keys 3200:1,3400:-1,3500:27,4500:-1,4600:26,4800:-1";

// Lower bounds are checked with this much slack for timer granularity.
const long kSlackMs = 10;

void PrintTo(const BackEndCase& backEnd, std::ostream* out) {
  *out << backEnd.name;
}

class Session : public ::testing::TestWithParam<BackEndCase> {};

TEST_P(Session, KeysInOrderSoundFollowsTheWindowCleanStop) {
  HostFolder folder(GetParam().version);
  if (GetParam().utlVariant) folder.Add("TandorUtl.dll", GetParam().utlVariant);
  folder.WriteSettings(
      harness::SettingsSection("KeyFirstDelay=250\r\nKeyRepeatDelay=80\r\n"));
  HostRun run(folder, kArgs);
  ASSERT_FALSE(run.process.timedOut) << run.process.output;
  EXPECT_EQ(0u, run.process.exitCode) << run.process.output;

  // Keys: names and labels, in the script's order, never before the press.
  std::vector<HostEvent> keys = run.EventsStarting("OnKey(");
  ASSERT_FALSE(keys.empty()) << run.process.output;
  const std::string digit = "OnKey(\"Key_1\", \"1\")";
  const std::string volumeUp = "OnKey(\"Key_VolumeUp\", \"VolumeUp\")";
  const std::string channelUp = "OnKey(\"Key_ChannelUp\", \"ChannelUp\")";
  std::vector<std::string> expected = {digit};
  std::vector<HostEvent> volume = run.EventsStarting(volumeUp);
  expected.insert(expected.end(), volume.size(), volumeUp);
  expected.push_back(channelUp);
  std::vector<std::string> texts;
  for (const HostEvent& key : keys) texts.push_back(key.text);
  EXPECT_EQ(expected, texts) << run.process.output;
  EXPECT_GE(keys.front().ms, kDigitAt);
  EXPECT_GE(keys.back().ms, kChannelUpAt);

  // The held VolumeUp: at once, after the first delay, then repeated.
  ASSERT_GE(volume.size(), 4u) << run.process.output;
  EXPECT_GE(volume[0].ms, kVolumeUpAt);
  EXPECT_GE(volume[1].ms - volume[0].ms, kFirstDelay - kSlackMs);
  for (size_t i = 2; i < volume.size(); ++i)
    EXPECT_GE(volume[i].ms - volume[i - 1].ms, kRepeatDelay - kSlackMs)
        << "repeat " << i;
  EXPECT_EQ(static_cast<int>(volume.size()),
            CountOf(run.log, "> Pressed key code 27\r\n"));

  // Sound: on 500 ms after the window is found, off 500 ms after it went,
  // off again at Stop (the window is gone).
  std::vector<HostEvent> sound = run.EventsStarting("sound ");
  std::vector<std::string> writes;
  for (const HostEvent& event : sound) writes.push_back(event.text);
  // On, then off twice: 0x10, 0x10, 0x40, 0x40 each time.
  std::vector<std::string> expectedWrites = {"on (0x20"};
  for (const char* value :
       {"0x10", "0x10", "0x40", "0x40", "0x10", "0x10", "0x40", "0x40"})
    expectedWrites.push_back(std::string("off (") + value);
  for (std::string& write : expectedWrites)
    write = "sound " + write + GetParam().soundSuffix + ")";
  EXPECT_EQ(expectedWrites, writes) << run.process.output;
  std::vector<HostEvent> started = run.EventsStarting("Start -> S_OK");
  std::vector<HostEvent> closed =
      run.EventsStarting("window \"Mirabo\" closed");
  ASSERT_EQ(1u, started.size()) << run.process.output;
  ASSERT_FALSE(closed.empty()) << run.process.output;
  ASSERT_EQ(9u, sound.size());
  EXPECT_GE(sound[0].ms, 500 - kSlackMs);
  EXPECT_LT(sound[0].ms, keys.front().ms) << "sound on before the first key";
  EXPECT_GE(closed.front().ms, kWindowClosesAt);
  EXPECT_GE(sound[1].ms - closed.front().ms, 500 - kSlackMs);
  EXPECT_GE(sound[2].ms - sound[1].ms, 20 - kSlackMs / 2) << "SoundOff's pause";

  // A clean Stop with every reference given back.
  EXPECT_EQ("Start -> S_OK; references: sink 2, host 2", started[0].text);
  std::vector<HostEvent> stopped = run.EventsStarting("Stop -> S_OK after ");
  ASSERT_EQ(1u, stopped.size()) << run.process.output;
  EXPECT_NE(std::string::npos,
            stopped[0].text.find("; references: sink 1, host 1;"))
      << stopped[0].text;
  EXPECT_TRUE(run.HasLine("host: Release -> 1"));
  EXPECT_TRUE(run.HasLine("host: Release -> 0"));
  EXPECT_TRUE(
      run.HasLine("host: references after the last Release: sink 1, "
                  "host 1 (1 each before Start): back where they were"))
      << run.process.output;

  EXPECT_EQ(1, CountOf(run.log, OnDisk({kFindWindowLine}))) << run.log;
  EXPECT_EQ(1, CountOf(run.log, OnDisk({kLostWindowLine}))) << run.log;
  EXPECT_LT(run.log.find(kFindWindowLine), run.log.find(kLostWindowLine));
  EXPECT_TRUE(EndsWith(run.log, OnDisk({kBreakLine}))) << run.log;
}

const BackEndCase kBackEnds[] = {
    {"win98", "win98", "", nullptr},
    {"win2k", "win2k", " via wdmI2cDll.dll", nullptr},
    // The plug-in calls TandorUtl as it calls the outside libraries, so a
    // TandorUtl of the other calling convention works as well.
    {"win98_TandorUtlStdcall", "win98", "", "utl-stdcall"},
};

INSTANTIATE_TEST_SUITE_P(BackEnd, Session, ::testing::ValuesIn(kBackEnds),
                         [](const ::testing::TestParamInfo<BackEndCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
