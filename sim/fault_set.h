// The faults a test has asked for, and which of them apply to a call.
#pragma once

#include <vector>

#include "control_table.h"

namespace sim {

class FaultSet {
 public:
  // Adds a copy of `fault`; a `transaction` of -1 becomes
  // `nextTransaction`. Returns the fault's identifier (how many faults there
  // are now), -1 when the kind is unknown.
  int Add(const SimFault& fault, int nextTransaction) {
    if (fault.kind < SIM_FAULT_NACK_BYTE ||
        fault.kind > SIM_FAULT_WDM_READ_FAILS)
      return -1;
    faults_.push_back(fault);
    if (fault.transaction < 0) faults_.back().transaction = nextTransaction;
    return static_cast<int>(faults_.size());
  }
  // Removes every fault; identifiers start again from 1.
  void Clear() { faults_.clear(); }

  // The fault of `kind` that applies to transaction `transaction`, call
  // number `call` of its function with argument `level` (a selector of -1
  // in the fault matches any); the one added last wins. Null when none
  // applies.
  const SimFault* Find(int kind, int transaction, int call = -1,
                       int level = -1) const {
    for (auto it = faults_.rbegin(); it != faults_.rend(); ++it) {
      if (it->kind == kind && Covers(*it, transaction) &&
          (it->call < 0 || it->call == call) &&
          (it->level < 0 || it->level == level))
        return &*it;
    }
    return nullptr;
  }
  // The fault of `kind` added last, whatever the transaction.
  const SimFault* FindAny(int kind) const {
    for (auto it = faults_.rbegin(); it != faults_.rend(); ++it)
      if (it->kind == kind) return &*it;
    return nullptr;
  }
  // Whether a device withholds its acknowledge for byte `byteIndex`.
  bool WithholdsAck(int transaction, int byteIndex) const {
    for (const SimFault& fault : faults_) {
      if (fault.kind == SIM_FAULT_NACK_BYTE && Covers(fault, transaction) &&
          fault.value == byteIndex)
        return true;
    }
    return false;
  }

 private:
  static bool Covers(const SimFault& fault, int transaction) {
    return transaction >= fault.transaction &&
           (fault.transactions < 0 ||
            transaction - fault.transaction < fault.transactions);
  }

  std::vector<SimFault> faults_;
};

}  // namespace sim
