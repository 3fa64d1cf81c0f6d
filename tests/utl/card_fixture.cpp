#include "card_fixture.h"

namespace utltest {

void CardTest::SetUp() {
  ASSERT_TRUE(driver_.held());
  ASSERT_TRUE(utl_.loaded());
  ASSERT_TRUE(utl_.boxes().empty());
  card_ = driver_.card();
  ASSERT_NE(nullptr, card_);
  card_->Reset();
}

void CardTest::TearDown() {
  if (!driver_.held()) return;  // the test gave it back itself
  utl_.Unload();
  EXPECT_TRUE(DriverLoaded());
  driver_.Release();
  EXPECT_FALSE(DriverLoaded());
}

void CardTest::Fault(SimFaultKind kind, int value, int call) {
  SimFault fault = {kind, -1, 1, call, -1, value};
  ASSERT_GT(card_->AddFault(&fault), 0);
}

Outcome CardTest::Transact(testsupport::Transaction transaction) const {
  const unsigned char data[] = {0xD0, 0xD1, 0xD2};
  unsigned char value = kUntouched;
  int result = transaction == testsupport::kReadByte
                   ? utl_->DlkI2CSWReadByte(0x97, &value)
               : transaction == testsupport::kWrite3
                   ? SoundOn()
                   : utl_->DlkI2CSWMultiWrite(0x90, 0x10, data, 3);
  return {result, value};
}

void CardTest::ExpectEveryTransactionFails(
    const std::function<void()>& before) const {
  for (int t = 0; t < testsupport::kTransactionCount; ++t) {
    auto transaction = static_cast<testsupport::Transaction>(t);
    if (before) before();
    Outcome outcome = Transact(transaction);
    EXPECT_EQ(1, outcome.result) << TransactionName(transaction);
    EXPECT_EQ(kUntouched, outcome.value) << TransactionName(transaction);
  }
}

long long CardTest::TimeSinceLastCall() const {
  long long now = card_->NowUs();
  std::vector<SimCall> calls = LineCalls();
  return calls.empty() ? -1 : now - calls.back().timeUs;
}

void CardTest::ExpectIdleBusWithoutViolation() const {
  EXPECT_EQ(1, card_->Scl());
  EXPECT_EQ(1, card_->Sda());
  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
}

harness::ProcessResult RunClient(const std::string& commands) {
  return harness::RunProcess(harness::ExeDir() + "utl_client.exe", commands,
                             harness::ExeDir(), 60000);
}

std::vector<std::string> Describe(const std::vector<harness::Box>& boxes) {
  std::vector<std::string> described;
  for (const harness::Box& box : boxes) described.push_back(Summary(box));
  return described;
}

namespace {

const char* const kDriverNames[kDriverFunctionCount] = {
#define DRIVER_NAME(name, group, result, params, args) #name,
    DRIVER_FUNCTIONS(DRIVER_NAME)
#undef DRIVER_NAME
};

}  // namespace

std::string Notation(const SimCall& call) {
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

std::string Notation(const std::vector<SimCall>& calls) {
  std::string text;
  for (const SimCall& call : calls) {
    if (!text.empty()) text += " ";
    text += Notation(call);
  }
  return text;
}

}  // namespace utltest
