// Two host processes side by side, each with its own simulated card and
// sharing only the entry flag.

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "entry_flag_probe.h"
#include "harness.h"
#include "tandorUtl.h"

using namespace harness;

namespace {

// A folder laid out like a Mirabo installation running as Windows 98: the
// stand-in host, the plug-in, TandorUtl and the simulated driver.
class Installation {
 public:
  explicit Installation(const std::string& settings) {
    for (const char* file : {"tandor.dll", "TandorUtl.dll", "BtVid_32.Dll"})
      ready_ =
          harness::CopyInto(harness::ExeDir() + file, dir_.path()) && ready_;
    ready_ = harness::CopyInto(harness::ExeDir() + "host.exe", dir_.path(),
                               "host-win98.exe") &&
             ready_;
    harness::WriteSettingsFile(dir_.path(), settings);
  }
  bool ready() const { return ready_; }

  harness::ProcessResult Run(const std::string& args) const {
    return harness::RunProcess(dir_.File("host-win98.exe"), args, dir_.path(),
                               60000);
  }

 private:
  harness::TempDir dir_;
  bool ready_ = true;
};

// The key names in the host's "OnKey("name", "label")" lines, in order.
std::vector<std::string> KeysIn(const std::string& output) {
  std::vector<std::string> names;
  const std::string marker = "OnKey(\"";
  for (size_t at = output.find(marker); at != std::string::npos;
       at = output.find(marker, at + 1)) {
    size_t begin = at + marker.size();
    names.push_back(output.substr(begin, output.find('"', begin) - begin));
  }
  return names;
}

// The session times of the host's timed lines ("<ms> ms  <text>") whose
// text begins with `prefix`, in order.
std::vector<long> EventTimes(const std::string& output,
                             const std::string& prefix) {
  std::vector<long> times;
  size_t begin = 0;
  while (begin < output.size()) {
    size_t end = output.find('\n', begin);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(begin, end - begin);
    long ms;
    int textAt = 0;
    if (sscanf(line.c_str(), "%ld ms  %n", &ms, &textAt) == 1 && textAt > 0 &&
        line.compare(textAt, prefix.size(), prefix) == 0)
      times.push_back(ms);
    begin = end + 1;
  }
  return times;
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
      SettingsSection("KeyFirstDelay=200\r\nKeyRepeatDelay=50\r\n");
  Installation first(settings), second(settings);
  ASSERT_TRUE(first.ready());
  ASSERT_TRUE(second.ready());
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
  harness::ProcessResult firstRun, secondRun;
  std::thread other([&] {
    secondRun =
        second.Run("--keys " + KeyScript(secondCodes, 250) + " --run 4500");
  });
  firstRun = first.Run("--keys " + KeyScript(firstCodes, 400) + " --run 4500");
  other.join();
  running = false;
  watcher.join();

  for (const harness::ProcessResult* run : {&firstRun, &secondRun}) {
    EXPECT_FALSE(run->timedOut);
    EXPECT_EQ(0u, run->exitCode) << run->output;
  }
  std::vector<std::string> firstKeys = KeysIn(firstRun.output);
  std::vector<std::string> secondKeys = KeysIn(secondRun.output);
  EXPECT_EQ(firstNames,
            std::set<std::string>(firstKeys.begin(), firstKeys.end()))
      << firstRun.output;
  EXPECT_EQ(secondNames,
            std::set<std::string>(secondKeys.begin(), secondKeys.end()))
      << secondRun.output;
  EXPECT_GT(raisedSeen.load(), 0) << "the region is not the hosts' region";
  EXPECT_EQ(0, region.value());
}

// Each plug-in switches its card's sound by its own host's main window, not
// by another host's window of the same class and title.
TEST(SideBySide, EachPluginFollowsOnlyItsOwnHostsWindow) {
  const std::string settings = SettingsSection("UseLog=1\r\n");
  Installation first(settings), second(settings);
  ASSERT_TRUE(first.ready());
  ASSERT_TRUE(second.ready());
  harness::ProcessResult firstRun, secondRun;
  // The second host's window is open all along its run.
  std::thread other([&] { secondRun = second.Run("--run 6000"); });
  bool otherWindowUp = harness::WaitUntil(
      [] { return FindWindowA("MiraboMainWindow", "Mirabo") != nullptr; },
      10000);
  // The first host's window opens at 1500 ms and closes at 2500 ms; the
  // host stops the plug-in at 4000 ms.
  if (otherWindowUp)
    firstRun = first.Run("--window open@1500,close@2500 --run 4000");
  other.join();
  ASSERT_TRUE(otherWindowUp);
  EXPECT_EQ(0u, firstRun.exitCode) << firstRun.output;
  EXPECT_EQ(0u, secondRun.exitCode) << secondRun.output;

  std::vector<long> on = EventTimes(firstRun.output, "sound on");
  std::vector<long> off = EventTimes(firstRun.output, "sound off");
  ASSERT_FALSE(on.empty()) << firstRun.output;
  EXPECT_GE(on.front(), 1500) << "switched on before its own window opened\n"
                              << firstRun.output;
  ASSERT_FALSE(off.empty()) << firstRun.output;
  EXPECT_LT(off.front(), 4000)
      << "not switched off when its own window closed\n"
      << firstRun.output;
  for (long ms : EventTimes(secondRun.output, "sound off"))
    EXPECT_GE(ms, 6000) << "the other card switched off before its Stop\n"
                        << secondRun.output;
}

}  // namespace
