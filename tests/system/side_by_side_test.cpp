// Two host processes side by side, each with its own simulated card and
// sharing only the entry flag.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "entry_flag_probe.h"
#include "host_run.h"

using namespace system_test;

namespace {

// The names of the keys that the host got, in a set.
std::set<std::string> KeysOf(const HostRun& run) {
  const std::string call = "OnKey(\"";
  std::set<std::string> names;
  for (const HostEvent& key : run.EventsStarting(call))
    names.insert(key.text.substr(
        call.size(), key.text.find('"', call.size()) - call.size()));
  return names;
}

// A key script: each code held 300 ms, then released for 200 ms.
std::string KeyScript(const std::vector<int>& codes, int startMs) {
  std::string script;
  int at = startMs;
  for (int code : codes) {
    if (!script.empty()) script += ",";
    script += std::to_string(at) + ":" + std::to_string(code) + "," +
              std::to_string(at + 300) + ":-1";
    at += 500;
  }
  return script;
}

// The shared region, created by the test before either host runs so that
// it outlives both; each host's TandorUtl opens it.
TEST(SideBySide, TwoHostProcessesEachWithItsOwnCard) {
  sim::HeldEntryRegion region(sim::HeldEntryRegion::kCreate);
  ASSERT_TRUE(region.open());
  ASSERT_EQ(0, region.value());
  const std::string settings =
      harness::SettingsSection("KeyFirstDelay=200\r\nKeyRepeatDelay=50\r\n");
  HostFolder first("win98"), second("win98");
  for (HostFolder* folder : {&first, &second}) folder->WriteSettings(settings);
  // Digits on one card, channel and volume keys on the other.
  const std::vector<int> firstCodes = {1, 2, 3, 4, 5, 6, 7};
  const std::vector<int> secondCodes = {26, 27, 30, 31, 26, 27, 30};
  const std::set<std::string> firstNames = {"Key_1", "Key_2", "Key_3", "Key_4",
                                            "Key_5", "Key_6", "Key_7"};
  const std::set<std::string> secondNames = {
      "Key_ChannelUp", "Key_VolumeUp", "Key_ChannelDown", "Key_VolumeDown"};

  std::atomic<bool> running{true};
  std::atomic<int> raisedSeen{0};
  std::thread watcher([&] {
    while (running) {
      if (region.value() == 1) ++raisedSeen;
      Sleep(1);
    }
  });
  std::unique_ptr<HostRun> secondRun;
  std::thread other([&] {
    secondRun.reset(new HostRun(
        second, "--keys " + KeyScript(secondCodes, 250) + " --run 4500"));
  });
  HostRun firstRun(first,
                   "--keys " + KeyScript(firstCodes, 400) + " --run 4500");
  other.join();
  running = false;
  watcher.join();

  for (const HostRun* run : {&firstRun, secondRun.get()}) {
    EXPECT_FALSE(run->process.timedOut);
    EXPECT_EQ(0u, run->process.exitCode) << run->process.output;
  }
  EXPECT_EQ(firstNames, KeysOf(firstRun)) << firstRun.process.output;
  EXPECT_EQ(secondNames, KeysOf(*secondRun)) << secondRun->process.output;
  EXPECT_GT(raisedSeen.load(), 0) << "the region is not the hosts' region";
  EXPECT_EQ(0, region.value());
}

// Each plug-in switches its card's sound by its own host's main window, not
// by another host's window of the same class and title.
TEST(SideBySide, EachPluginFollowsOnlyItsOwnHostsWindow) {
  HostFolder first("win98"), second("win98");
  for (HostFolder* folder : {&first, &second})
    folder->WriteSettings(harness::SettingsSection("UseLog=1\r\n"));
  std::unique_ptr<HostRun> firstRun, secondRun;
  // The second host's window is open all along its run.
  std::thread other(
      [&] { secondRun.reset(new HostRun(second, "--run 6000")); });
  bool otherWindowUp = harness::WaitUntil(
      [] { return FindWindowA(kHostWindowClass, kHostWindowTitle) != nullptr; },
      10000);
  // The first host's window opens at 1500 ms and closes at 2500 ms; the
  // host stops the plug-in at 4000 ms.
  if (otherWindowUp)
    firstRun.reset(
        new HostRun(first, "--window open@1500,close@2500 --run 4000"));
  other.join();
  ASSERT_TRUE(otherWindowUp);
  const std::string& output = firstRun->process.output;
  EXPECT_EQ(0u, firstRun->process.exitCode) << output;
  EXPECT_EQ(0u, secondRun->process.exitCode) << secondRun->process.output;

  std::vector<HostEvent> on = firstRun->EventsStarting("sound on");
  std::vector<HostEvent> off = firstRun->EventsStarting("sound off");
  ASSERT_FALSE(on.empty()) << output;
  EXPECT_GE(on.front().ms, 1500) << "switched on before its own window opened\n"
                                 << output;
  ASSERT_FALSE(off.empty()) << output;
  EXPECT_LT(off.front().ms, 4000)
      << "not switched off when its own window closed\n"
      << output;
  for (const HostEvent& event : secondRun->EventsStarting("sound off"))
    EXPECT_GE(event.ms, 6000) << "the other card switched off before its Stop\n"
                              << secondRun->process.output;
}

}  // namespace
