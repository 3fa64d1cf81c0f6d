// Keys' key table is an oracle, stated again apart from keyTable.cpp.
// The receiver on the simulated card's bus: sound writes, key readings,
// the entry flag around every transaction, two objects of one process on
// one bus, and the key table.
#include "remote_fixture.h"

#include <memory>

using namespace remotetest;

namespace {

class Receiver : public PluginTest {};

TEST_F(Receiver, EntryFlagIsUpForEveryTransactionAndDownAfter) {
  // Kept after the run, when the plug-in lets its back end go.
  sim::HeldEntryRegion flag(sim::HeldEntryRegion::kCreate);
  ASSERT_NO_FATAL_FAILURE(RunSession(Settings(40, 20), {26, 27}));

  size_t starts = 0, stops = 0;
  for (const SimBusEvent& event : Records(card_->GetBusEvents)) {
    if (event.type != SIM_EVENT_START && event.type != SIM_EVENT_STOP) continue;
    (event.type == SIM_EVENT_START ? starts : stops)++;
    EXPECT_EQ(1, event.entryFlag)
        << (event.type == SIM_EVENT_START ? "start" : "stop") << " at "
        << event.timeUs << " us";
  }
  // Every reading and every sound write is a transaction of its own.
  size_t transactions = KeyReads().size() + SoundWrites().size();
  EXPECT_GE(starts, transactions);
  EXPECT_GE(stops, transactions);
  EXPECT_EQ(0, flag.value());
  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
}

// Two objects of one process, both built and then both started, reading
// with no pause between readings from a receiver that stretches the clock:
// their frames would overlap on the bus unless the objects took turns.
TEST_F(Receiver, TwoStartedObjectsOfOneProcessTakeTurnsOnTheBus) {
  const int kStretchSamples = 20;  // SCL held low at every release
  const DWORD kReadingMs = 1500;
  WriteSettings(Settings(-1, -1));
  SimFault stretching = {SIM_FAULT_HOLD_SCL, -1, -1, -1, -1, kStretchSamples};
  ASSERT_GT(card_->AddFault(&stretching), 0);
  card_->PressKey(18);
  std::unique_ptr<HostWindow> window(new HostWindow);
  KeyRecorder otherSink;
  ASSERT_NO_FATAL_FAILURE(Create());
  IRemoteDevice* first = device_;
  ASSERT_NO_FATAL_FAILURE(Create());
  ASSERT_EQ(S_OK, first->Start(&sink_, &host_));
  ASSERT_EQ(S_OK, device_->Start(&otherSink, &host_));
  // Both switch the sound on, read side by side, switch the sound off when
  // the window goes and once more when they are stopped.
  EXPECT_TRUE(WaitForSoundWrites(2));
  Sleep(kReadingMs);
  window.reset();
  EXPECT_TRUE(WaitForSoundWrites(10));
  StopAndRelease(first);
  StopAndRelease(device_);

  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
  for (const KeyRecorder* sink : {&sink_, &otherSink}) {
    std::vector<KeyEvent> events = sink->events();
    EXPECT_FALSE(events.empty()) << "an object delivered no key";
    for (const KeyEvent& event : events)
      EXPECT_EQ("Key_Power", event.name) << "a key that was not held";
  }
  // Each switching on is one write; each phase of a switching off is two
  // writes of one value in a row, whichever object's phase comes next.
  std::vector<SimSoundWrite> writes = SoundWrites();
  ASSERT_EQ(2u + 4 * 4, writes.size()) << "sound writes lost";
  EXPECT_EQ(0x20, writes[0].value);
  EXPECT_EQ(0x20, writes[1].value);
  int firstPhases = 0, secondPhases = 0;
  for (size_t i = 2; i + 1 < writes.size(); i += 2) {
    EXPECT_EQ(writes[i].value, writes[i + 1].value) << "write " << i;
    firstPhases += writes[i].value == 0x10;
    secondPhases += writes[i].value == 0x40;
  }
  EXPECT_EQ(4, firstPhases);
  EXPECT_EQ(4, secondPhases);
}

// A receiver that does not acknowledge its address leaves the code
// untouched (0): that must never become "Key_0", in either reading mode.
class FailedReads : public PluginTest,
                    public ::testing::WithParamInterface<int> {};

TEST_P(FailedReads, NeverBecomeKeys) {
  Settings settings;
  settings.useAcorpCompMode = GetParam();
  sim::HeldEntryRegion flag(sim::HeldEntryRegion::kCreate);
  SimFault noAcknowledge = {SIM_FAULT_NACK_BYTE, -1, -1, -1, -1, 0};
  ASSERT_GT(card_->AddFault(&noAcknowledge), 0);
  card_->PressKey(5);
  ASSERT_NO_FATAL_FAILURE(StartNew(settings));
  ASSERT_TRUE(WaitForTransactions(6, 3000));
  EXPECT_EQ(0u, sink_.size());
  for (const std::string& line : LogLines())
    EXPECT_EQ(std::string::npos, line.find("Pressed")) << line;
  // The same receiver, answering again, gives its key.
  card_->ClearFaults();
  EXPECT_TRUE(sink_.WaitForKeys(1));
  StopAndRelease(device_);
  EXPECT_EQ(0, flag.value());
  ASSERT_FALSE(sink_.events().empty());
  EXPECT_EQ("Key_5", sink_.events()[0].name);
}

INSTANTIATE_TEST_SUITE_P(ReadingModes, FailedReads, ::testing::Values(0, 1));

struct ExpectedKey {
  int code;
  const char* name;
  const char* label;
};

// clang-format off
const ExpectedKey kExpectedKeys[] = {
    {0, "Key_0", "0"}, {1, "Key_1", "1"}, {2, "Key_2", "2"},
    {3, "Key_3", "3"}, {4, "Key_4", "4"}, {5, "Key_5", "5"},
    {6, "Key_6", "6"}, {7, "Key_7", "7"}, {8, "Key_8", "8"},
    {9, "Key_9", "9"}, {10, "Key_100", ""}, {11, "Key_AirCableTV", ""},
    {12, "Key_AutoScan", ""}, {13, "Key_Teletext", ""},
    {14, "Key_TeletextPageUp", ""}, {15, "Key_Source", ""},
    {16, "Key_Mute", ""}, {17, "Key_FullScreen", ""},
    {18, "Key_Power", "Power"}, {19, "Key_MTS", ""}, {20, "Key_Sync", ""},
    {22, "Key_TeletextCC", ""}, {23, "Key_Recall", "Recall"},
    {24, "Key_PlusMinus", ""}, {25, "Key_Function", ""},
    {26, "Key_ChannelUp", "ChannelUp"}, {27, "Key_VolumeUp", "VolumeUp"},
    {29, "Key_TeletextPageDown", ""}, {30, "Key_ChannelDown", "ChannelDown"},
    {31, "Key_VolumeDown", "VolumeDown"},
};
// clang-format on

const ExpectedKey* FindExpectedKey(int code) {
  for (const ExpectedKey& key : kExpectedKeys)
    if (key.code == code) return &key;
  return nullptr;
}

class Keys : public PluginTest {};

TEST_F(Keys, EveryReadingOfAKnownCodeReachesTheSinkOnTheWorkerThread) {
  ASSERT_NO_FATAL_FAILURE(StartNew(Settings(5, 5)));
  std::vector<int> codes;
  for (int code = 0; code <= 40; ++code) codes.push_back(code);
  codes.push_back(0xFF);
  for (int code : codes) {
    card_->PressKey(code);
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::vector<SimKeyRead> reads = KeyReads();
          return !reads.empty() && reads.back().code == code;
        },
        3000))
        << "code " << code << " was not read";
  }
  StopAndRelease(device_);

  // One call per reading of a code in the table, none for the others.
  std::vector<KeyEvent> events = sink_.events();
  size_t event = 0;
  size_t readingsWithCode = 0;
  std::vector<bool> seen(32, false);
  for (const SimKeyRead& read : KeyReads()) {
    if (read.code == 0xAA) continue;
    ++readingsWithCode;
    const ExpectedKey* key = FindExpectedKey(read.code);
    if (!key) continue;
    seen[read.code] = true;
    ASSERT_LT(event, events.size()) << "no call for code " << read.code;
    EXPECT_EQ(key->name, events[event].name);
    EXPECT_EQ(key->label, events[event].label);
    EXPECT_NE(GetCurrentThreadId(), events[event].threadId);
    EXPECT_EQ(events[0].threadId, events[event].threadId);
    ++event;
  }
  EXPECT_EQ(events.size(), event) << "calls for codes without a key";
  for (const ExpectedKey& key : kExpectedKeys)
    EXPECT_TRUE(seen[key.code]) << key.name;
  // Every reading that gave a code is logged, known or not.
  size_t logged = 0;
  for (const std::string& line : LogLines())
    logged += line.rfind("> Pressed key code ", 0) == 0;
  EXPECT_EQ(readingsWithCode, logged);
  EXPECT_TRUE(LogHas("> Pressed key code 0"));
  EXPECT_TRUE(LogHas("> Pressed key code 255"));
}

}  // namespace
