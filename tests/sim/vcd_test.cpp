// The VCD trace of the bus lines.
#include <sstream>
#include <string>
#include <vector>

#include "sim_fixture.h"
#include "harness.h"

namespace simtest {
namespace {

struct Dump {
  std::string header;
  std::vector<long long> times;
  // Values of SCL ('!') after each change, in order, from the dump on.
  std::string scl;
  std::string sda;
};

Dump ParseDump(const std::string& text) {
  Dump dump;
  const size_t end = text.find("$enddefinitions $end");
  if (end == std::string::npos) return dump;
  dump.header = text.substr(0, end);
  std::istringstream lines(text.substr(end));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() > 1 && line[0] == '#')
      dump.times.push_back(std::stoll(line.substr(1)));
    if (line == "0!" || line == "1!") dump.scl += line[0];
    if (line == "0\"" || line == "1\"") dump.sda += line[0];
  }
  return dump;
}

class Vcd : public SimTest {
 protected:
  // The trace as the card writes it now.
  std::string Written() {
    EXPECT_EQ(sim_->WriteVcd(dir_.File("t.vcd").c_str()), 0);
    return harness::ReadText(dir_.File("t.vcd"));
  }
  harness::TempDir dir_;
};

TEST_F(Vcd, HeaderDeclaresTheLinesForWaveformViewers) {
  const std::string text = Written();
  for (const char* part :
       {"$timescale 1ns $end", "$scope module i2c $end",
        "$var wire 1 ! SCL $end", "$var wire 1 \" SDA $end",
        "$var wire 1 # master_scl $end", "$var wire 1 & device_sda $end",
        "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n1!\n1\"\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_NE(sim_->WriteVcd("Z:\\no\\such\\folder\\t.vcd"), 0);
}

TEST_F(Vcd, EveryEdgeOfATransactionIsThereInTimeOrder) {
  sim_->PressKey(0x81);
  int value = 0;
  ASSERT_EQ(master_.ReadByte(0x97, &value), 0);
  const Dump dump = ParseDump(Written());

  // Start, 8 + 1 clocks for the address, 8 + 1 for the byte read, the
  // stop's clock and the extra pulse after it: 20 rising SCL edges.
  int rises = 0;
  for (size_t i = 1; i < dump.scl.size(); ++i)
    rises += dump.scl[i - 1] == '0' && dump.scl[i] == '1';
  EXPECT_EQ(rises, 20) << dump.scl;
  EXPECT_EQ(dump.scl.front(), '1');
  EXPECT_EQ(dump.scl.back(), '1');
  EXPECT_EQ(dump.sda.back(), '1');
  for (size_t i = 1; i < dump.times.size(); ++i)
    ASSERT_LT(dump.times[i - 1], dump.times[i]) << "at change " << i;
  EXPECT_LE(dump.times.back(), sim_->NowUs() * 1000 + 1000000);
}

TEST_F(Vcd, TraceKeepsTheMostRecentChangesFromAKnownState) {
  const int toggles = SIM_MAX_TRACE_CHANGES + 10;
  for (int i = 0; i < toggles; ++i) lines_.setScl(i & 1);
  const Dump dump = ParseDump(Written());
  EXPECT_NE(dump.header.find("$comment"), std::string::npos);
  // The dumped state plus one change per toggle kept.
  EXPECT_EQ(dump.times.size(), size_t(SIM_MAX_TRACE_CHANGES) + 1);
  EXPECT_EQ(dump.scl.size(), size_t(SIM_MAX_TRACE_CHANGES) + 1);
  EXPECT_EQ(dump.scl.back(), '1');

  sim_->Reset();
  sim_->SetTracing(0);
  lines_.setScl(0);
  EXPECT_EQ(ParseDump(Written()).times.size(), 1u)
      << "nothing traced while tracing is off";
}

}  // namespace
}  // namespace simtest
