#include "card_fixture.h"

namespace utltest {

void CardTest::SetUp() {
  ASSERT_TRUE(utl_.loaded());
  ASSERT_TRUE(utl_.boxes().empty());
  card_ = harness::SimCard();
  ASSERT_NE(nullptr, card_);
  card_->Reset();
}

void CardTest::Fault(SimFaultKind kind, int value, int call, int level) {
  SimFault fault = {kind, -1, 1, call, level, value};
  ASSERT_GT(card_->AddFault(&fault), 0);
}

int CardTest::CountCalls(int function) const {
  int count = 0;
  for (const SimCall& call : Calls(card_)) {
    if (call.function == function) ++count;
  }
  return count;
}

long long CardTest::TimeSinceLastCall() const {
  long long now = card_->NowUs();
  std::vector<SimCall> calls = Calls(card_);
  return calls.empty() ? -1 : now - calls.back().timeUs;
}

void CardTest::ExpectIdleBusWithoutViolation() const {
  EXPECT_EQ(1, card_->Scl());
  EXPECT_EQ(1, card_->Sda());
  EXPECT_EQ(0, card_->ViolationCount()) << card_->FirstViolation();
}

}  // namespace utltest
