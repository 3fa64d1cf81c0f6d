#include "fault_set.h"

namespace sim {

int FaultSet::Add(const SimFault& fault, int nextTransaction) {
  if (fault.kind < SIM_FAULT_NACK_BYTE || fault.kind > SIM_FAULT_WDM_READ_FAILS)
    return -1;
  SimFault copy = fault;
  if (copy.transaction < 0) copy.transaction = nextTransaction;
  faults_.push_back(copy);
  return ++added_;
}

bool FaultSet::Covers(const SimFault& fault, int transaction) {
  if (transaction < fault.transaction) return false;
  return fault.transactions < 0 ||
         transaction - fault.transaction < fault.transactions;
}

const SimFault* FaultSet::Find(int kind, int transaction, int call,
                               int level) const {
  for (auto it = faults_.rbegin(); it != faults_.rend(); ++it) {
    if (it->kind == kind && Covers(*it, transaction) &&
        Matches(it->call, call) && Matches(it->level, level))
      return &*it;
  }
  return nullptr;
}

const SimFault* FaultSet::FindAny(int kind) const {
  for (auto it = faults_.rbegin(); it != faults_.rend(); ++it)
    if (it->kind == kind) return &*it;
  return nullptr;
}

bool FaultSet::WithholdsAck(int transaction, int byteIndex) const {
  for (const SimFault& fault : faults_) {
    if (fault.kind == SIM_FAULT_NACK_BYTE && Covers(fault, transaction) &&
        fault.value == byteIndex)
      return true;
  }
  return false;
}

}  // namespace sim
