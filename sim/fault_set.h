// The faults a test has asked for, and which of them apply to a call.
#pragma once

#include <vector>

#include "control_table.h"

namespace sim {

class FaultSet {
 public:
  // Adds a copy of `fault`; a `transaction` of -1 becomes
  // `nextTransaction`. Returns the fault's identifier, -1 when the kind is
  // unknown.
  int Add(const SimFault& fault, int nextTransaction);
  // Removes every fault; identifiers start again from 1.
  void Clear() {
    faults_.clear();
    added_ = 0;
  }

  // The fault of `kind` that applies to transaction `transaction`, call
  // number `call` of its function with argument `level`; the one added last
  // wins. Null when none applies.
  const SimFault* Find(int kind, int transaction, int call = -1,
                       int level = -1) const;
  // The fault of `kind` added last, whatever the transaction.
  const SimFault* FindAny(int kind) const;
  // Whether a device withholds its acknowledge for byte `byteIndex`.
  bool WithholdsAck(int transaction, int byteIndex) const;

 private:
  static bool Covers(const SimFault& fault, int transaction);
  // A selector of -1 matches any value.
  static bool Matches(int selector, int actual) {
    return selector < 0 || selector == actual;
  }

  std::vector<SimFault> faults_;
  int added_ = 0;
};

}  // namespace sim
