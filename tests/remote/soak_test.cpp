// The plug-in polling for half a minute, as on Windows 98, on a card that
// fails one transaction in ten (an address byte not acknowledged, or SCL
// held by a device, at seeded places, never two transactions in a row),
// while a script presses every key of the remote many times over, each
// press held across several readings.

#include <stdio.h>

#include <algorithm>
#include <random>
#include <set>

#include "keyTable.h"
#include "remote_fixture.h"

using namespace remotetest;

namespace {

const unsigned kSeed = 20240607;
const int kRounds = 7;       // every key pressed this many times
const int kPressMs = 130;    // held
const int kGapMs = 30;       // released between presses
const int kLeadInMs = 200;   // before the first press
const int kPollDelayMs = 2;  // both key delays
const int kMinReadings = 3;  // readings that a press is made to span
// The share of presses that must span them on a busy machine, in percent.
const int kPressesSpanningEnough = 90;
const int kFaultBlocks = 1000;  // faulty transactions placed: one in ten
const int kReadReleases = 21;   // SCL releases of a read transaction
const double kSoakMs = 30000;
const long long kEdgeUs = 2000;  // a reading at a press's edge

struct Press {
  int code;
  long long startUs;  // on the card's clock, once the script plays
  long long endUs;
};

// Every key of the table `kRounds` times, each round in a shuffled order:
// each press held kPressMs, kGapMs after the one before, the first after
// kLeadInMs; times from the script's start.
std::vector<Press> PressScript(std::mt19937& random) {
  std::vector<int> codes;
  for (int row = 0; row < kTandorKeyCount; ++row)
    codes.push_back(kTandorKeys[row].code);
  std::vector<Press> presses;
  long long atMs = kLeadInMs;
  for (int round = 0; round < kRounds; ++round) {
    std::shuffle(codes.begin(), codes.end(), random);
    for (int code : codes) {
      presses.push_back({code, atMs * 1000, (atMs + kPressMs) * 1000});
      atMs += kPressMs + kGapMs;
    }
  }
  return presses;
}

// One fault in each block of ten transactions, at a seeded place that is
// never right after the previous block's fault: either the address byte is
// not acknowledged, or a device holds SCL at a seeded release, for longer
// than a raise waits or for the rest of the transaction.
void PlaceFaults(const SimControl* card, std::mt19937& random) {
  int previous = -10;
  for (int block = 0; block < kFaultBlocks; ++block) {
    int at;
    do {
      at = block * 10 + static_cast<int>(random() % 10);
    } while (at == previous + 1);
    previous = at;
    SimFault fault;
    if (random() % 2 == 0) {
      fault = SimFault{SIM_FAULT_NACK_BYTE, at, 1, -1, -1, 0};
    } else {
      int release = static_cast<int>(random() % kReadReleases);
      int samples = random() % 2 == 0 ? 501 : -1;
      fault = SimFault{SIM_FAULT_HOLD_SCL, at, 1, release, -1, samples};
    }
    ASSERT_GT(card->AddFault(&fault), 0);
  }
}

std::string NameOf(int code) {
  const KeyBinding* key = FindKeyBinding(kTandorKeys, kTandorKeyCount, code);
  return key ? key->name : "";
}

// The key held at `timeUs`, "" for none; the script's edges count as
// either side of them within kEdgeUs.
std::string HeldAt(const std::vector<Press>& presses, long long timeUs) {
  for (const Press& press : presses)
    if (timeUs >= press.startUs - kEdgeUs && timeUs <= press.endUs + kEdgeUs)
      return NameOf(press.code);
  return "";
}

// How many readings of the receiver fell within each press.
std::vector<int> ReadingsPerPress(const std::vector<Press>& presses,
                                  const std::vector<SimKeyRead>& reads) {
  std::vector<int> counts;
  for (const Press& press : presses) {
    int readings = 0;
    for (const SimKeyRead& read : reads)
      if (read.timeUs >= press.startUs && read.timeUs < press.endUs) ++readings;
    counts.push_back(readings);
  }
  return counts;
}

long long LongestGapUs(const std::vector<SimKeyRead>& reads) {
  long long longest = 0;
  for (size_t i = 1; i < reads.size(); ++i)
    longest = std::max(longest, reads[i].timeUs - reads[i - 1].timeUs);
  return longest;
}

// The last reading of the receiver at or before `timeUs`, or null.
const SimKeyRead* LastReadBefore(const std::vector<SimKeyRead>& reads,
                                 long long timeUs) {
  const SimKeyRead* last = nullptr;
  for (const SimKeyRead& read : reads) {
    if (read.timeUs > timeUs) break;
    last = &read;
  }
  return last;
}

using Soak = PluginTest;

TEST_F(Soak, HalfAMinuteOfPressesOnACardFailingOneTransactionInTen) {
  std::mt19937 random(kSeed);
  WriteSettings(Settings(kPollDelayMs, kPollDelayMs));
  card_->SetTracing(0);
  PlaceFaults(card_, random);
  std::vector<Press> presses = PressScript(random);
  std::vector<SimKeyStep> steps;
  for (const Press& press : presses) {
    steps.push_back({static_cast<int>(press.startUs / 1000), press.code});
    steps.push_back({static_cast<int>(press.endUs / 1000), -1});
  }

  KeyRecorder sink(card_);  // its keys carry the card's time
  long long scriptStartUs = card_->NowUs();
  card_->PlayKeyScript(steps.data(), static_cast<int>(steps.size()));
  double startMs = NowMs();
  ASSERT_NO_FATAL_FAILURE(StartWith(&sink, &host_));
  sim::HeldEntryRegion flag;
  EXPECT_TRUE(flag.open());
  double scriptMs = steps.back().atMs + 300.0;
  Sleep(static_cast<DWORD>(std::max(kSoakMs, scriptMs)));
  StopPromptlyAndRelease(device_);
  EXPECT_GE(NowMs() - startMs, kSoakMs);
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(1, sink.count());
  EXPECT_EQ(0, flag.value()) << "the entry flag after Stop";

  for (Press& press : presses) {
    press.startUs += scriptStartUs;
    press.endUs += scriptStartUs;
  }
  std::vector<SimKeyRead> reads = KeyReads();
  std::vector<KeyEvent> deliveries = sink.events();
  printf(
      "seed %u: %zu presses, %d transactions, %zu receiver reads, %zu "
      "keys delivered, the last %lld ms into the script\n",
      kSeed, presses.size(), card_->TransactionCount(), reads.size(),
      deliveries.size(),
      deliveries.empty() ? -1LL
                         : (deliveries.back().timeUs - scriptStartUs) / 1000);

  // The script's promise: presses span several readings each (a busy
  // machine may stretch a few of them).
  std::vector<int> perPress = ReadingsPerPress(presses, reads);
  long spanning = std::count_if(perPress.begin(), perPress.end(),
                                [](int n) { return n >= kMinReadings; });
  printf(
      "readings in one press: fewest %d, %ld of %zu presses with %d or "
      "more; longest time without a reading of the receiver: %lld ms\n",
      *std::min_element(perPress.begin(), perPress.end()), spanning,
      perPress.size(), kMinReadings, LongestGapUs(reads) / 1000);
  EXPECT_GE(spanning * 100,
            static_cast<long>(perPress.size()) * kPressesSpanningEnough);

  // Every key delivered is the one that the receiver sent in the reading
  // just before it, and that key was held then; every key at least once.
  std::set<std::string> delivered;
  for (const KeyEvent& delivery : deliveries) {
    const SimKeyRead* read = LastReadBefore(reads, delivery.timeUs);
    long long atMs = (delivery.timeUs - scriptStartUs) / 1000;
    ASSERT_NE(nullptr, read) << delivery.name << " at " << atMs << " ms";
    EXPECT_EQ(NameOf(read->code), delivery.name)
        << "delivered at " << atMs << " ms after a reading of " << read->code;
    EXPECT_EQ(HeldAt(presses, read->timeUs), delivery.name)
        << "delivered at " << atMs << " ms, read at "
        << (read->timeUs - scriptStartUs) / 1000 << " ms";
    delivered.insert(delivery.name);
  }
  for (int row = 0; row < kTandorKeyCount; ++row)
    EXPECT_EQ(1u, delivered.count(kTandorKeys[row].name))
        << kTandorKeys[row].name << " never delivered";
}

}  // namespace
