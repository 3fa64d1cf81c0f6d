// TandorUtl's fixture: TandorUtl.dll loaded from the bin folder with every
// export bound, on the simulated card, reset for each test. Also what the
// library's test files share: its load boxes as the tests compare them, the
// client process (utl_client.cpp), and the driver calls in a short
// notation.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driverApi.h"
#include "entry_flag_probe.h"
#include "bus_notation.h"
#include "fault_table.h"
#include "harness.h"
#include "line_script.h"

namespace utltest {

using harness::Lines;
using harness::UtlApi;
using sim::EntryRegionExists;
using testsupport::Transaction;
using Texts = std::vector<std::string>;

// Message boxes as the tests compare them (harness::Summary).
inline Texts Describe(const std::vector<harness::Box>& boxes) {
  Texts described;
  for (const harness::Box& box : boxes) described.push_back(Summary(box));
  return described;
}

// Whether the driver library is loaded in this process (by any path).
inline bool DriverLoaded() {
  return GetModuleHandleA(DRIVER_LIBRARY_NAME) != nullptr;
}

// A simulated driver call in a short notation: "scl=1" and "sda=0" for the
// line settings, "scl?1" and "sda?0" for the line samples with what they
// returned, "mode(6000)" for I2CInitSWMode, and name(args)->result for the
// rest. A result other than 0 of a line setting is shown as "scl=0->2".
inline std::string Notation(const SimCall& call) {
  static const char* const kDriverNames[kDriverFunctionCount] = {
#define DRIVER_NAME(name, group, result, params, args) #name,
      DRIVER_FUNCTIONS(DRIVER_NAME)
#undef DRIVER_NAME
  };
  std::string arg = std::to_string(call.args[0]);
  std::string result = std::to_string(call.result);
  std::string failed = call.result ? "->" + result : "";
  switch (call.function) {
    case kDrv_I2CSWSetSCL:
      return "scl=" + arg + failed;
    case kDrv_I2CSWSetSDA:
      return "sda=" + arg + failed;
    case kDrv_I2CSWReadSCL:
      return "scl?" + result;
    case kDrv_I2CSWReadSDA:
      return "sda?" + result;
    case kDrv_I2CInitSWMode:
      return "mode(" + arg + ")" + failed;
  }
  std::string text = kDriverNames[call.function] + std::string("(");
  for (int i = 0; i < call.argc; ++i)
    text += (i ? "," : "") + std::to_string(call.args[i]);
  return text + ")->" + result;
}

// The notations of the calls, separated by spaces.
inline std::string Notation(const std::vector<SimCall>& calls) {
  std::string text;
  for (const SimCall& call : calls)
    text += (text.empty() ? "" : " ") + Notation(call);
  return text;
}

class Utl : public harness::UtlLibrary {
 public:
  Utl() : UtlLibrary(harness::BinFile("TandorUtl.dll")) {}
};

// The simulated driver (or one of its variants) loaded by the test itself,
// until Release or the end of the object.
class HeldDriver : public harness::SimDriver {
 public:
  explicit HeldDriver(const std::string& variant = "") { Load(variant); }
};

// What a transaction gave: its result, and the variable that a read
// stores into, which starts as kUntouched.
struct Outcome {
  int result = -1;
  int value = -1;
  bool operator==(const Outcome& other) const {
    return result == other.result && value == other.value;
  }
};
inline std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
  return out << "result " << outcome.result << ", value " << outcome.value;
}
const int kUntouched = 0x33;

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(driver_.held());
    ASSERT_TRUE(utl_.loaded());
    ASSERT_TRUE(utl_.boxes().empty());
    card_ = driver_.card();
    ASSERT_NE(nullptr, card_);
    card_->Reset();
  }
  // TandorUtl gives back exactly the one reference to the driver that it
  // took: the test's own is then the last one.
  void TearDown() override {
    if (!driver_.held()) return;  // the test gave it back itself
    utl_.Unload();
    EXPECT_TRUE(DriverLoaded());
    driver_.Release();
    EXPECT_FALSE(DriverLoaded());
  }

  // A fault for the next `transactions` transactions.
  void Fault(SimFaultKind kind, int value, int call = -1,
             int transactions = 1) {
    SimFault fault = {kind, -1, transactions, call, -1, value};
    ASSERT_GT(card_->AddFault(&fault), 0);
  }

  // The transaction of the fault table's frame (fault_table.h).
  Outcome Transact(Transaction transaction) const {
    const unsigned char data[] = {0xD0, 0xD1, 0xD2};
    if (transaction == testsupport::kReadByte) return Read();
    return {transaction == testsupport::kWrite3
                ? SoundOn()
                : utl_->DlkI2CSWMultiWrite(0x90, 0x10, data, 3),
            kUntouched};
  }
  Outcome Read(int address = 0x97) const {
    unsigned char value = kUntouched;
    int result = utl_->DlkI2CSWReadByte(address, &value);
    return {result, value};
  }
  int SoundOn() const { return utl_->DlkI2CSWWrite3(0x96, 2, 0x20); }
  // The sound-on write on a card reset, with a fault for it alone.
  int SoundOnWith(SimFaultKind kind, int value, int call = -1) {
    card_->Reset();
    Fault(kind, value, call);
    return SoundOn();
  }
  // Each transaction fails and a read stores nothing.
  void ExpectEveryTransactionFails() const {
    for (int t = 0; t < testsupport::kTransactionCount; ++t) {
      auto transaction = static_cast<Transaction>(t);
      EXPECT_EQ((Outcome{1, kUntouched}), Transact(transaction))
          << TransactionName(transaction);
    }
  }

  std::vector<SimCall> LineCalls() const {
    return harness::Records(card_->GetCalls);
  }
  std::string CallText() const { return Notation(LineCalls()); }
  std::string BusText() const {
    return testsupport::BusNotation(harness::Records(card_->GetBusEvents));
  }
  // Microseconds from the last recorded driver call until now: after a
  // transaction returns, how long it went on past its last bus activity.
  long long TimeSinceLastCall() const {
    long long now = card_->NowUs();
    std::vector<SimCall> calls = LineCalls();
    return calls.empty() ? -1 : now - calls.back().timeUs;
  }

  // A successful transaction leaves both lines high and broke no rule.
  void ExpectIdleBusWithoutViolation() const {
    EXPECT_EQ(1, card_->Scl());
    EXPECT_EQ(1, card_->Sda());
    EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
  }

  // The driver is held by the test before TandorUtl binds it and given
  // back after, so that the card stays reachable whatever TandorUtl does
  // with its own reference.
  HeldDriver driver_;
  Utl utl_;
  const SimControl* card_ = nullptr;
};

// Runs the client program (utl_client.cpp) from the bin folder with
// `commands`.
inline harness::ProcessResult RunClient(const std::string& commands) {
  return harness::RunProcess(harness::ExeDir() + "utl_client.exe", commands,
                             harness::ExeDir(), 60000);
}

}  // namespace utltest
