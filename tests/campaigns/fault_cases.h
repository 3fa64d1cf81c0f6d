// Every fault that the simulated card can inject, each at the places that
// decide its outcome, with the outcome that the library documents for each
// of its three transactions. The plug-in's campaign reuses the read column:
// the plug-in's key reading is one read transaction.
#pragma once

#include <string>
#include <vector>

#include "control_table.h"

namespace campaign {

enum Transaction { kReadByte, kWrite3, kMultiWrite, kTransactionCount };

// The frames the campaign runs: a read of the receiver (address byte 0x97),
// a sound-on write to it (0x96, 2, 0x20) and a multi-write of three data
// bytes to the second device (0x90, 0x10, D0 D1 D2).
const char* TransactionName(Transaction transaction);

// Which call a fault picks. Positions count the calls of the fault's driver
// function in a clean run of the same transaction (see CountedFunction):
// from the first (0 is the first call) or from the last (1 is the last).
struct CallPick {
  enum Base { kEvery, kFromFirst, kFromLast };
  Base base;
  int n;
};
const CallPick kEveryCall = {CallPick::kEvery, 0};
inline CallPick First(int n) {
  return {CallPick::kFromFirst, n};
}
inline CallPick FromLast(int n) {
  return {CallPick::kFromLast, n};
}

struct FaultCase {
  const char* what;
  SimFaultKind kind;
  CallPick call;
  int level;  // -1: any
  int value;
  int result[kTransactionCount];  // the documented result of each
  // A successful read yields the held code with these bits kept (a line
  // sample misread while receiving turns a 1 bit into a 0 bit).
  int readMask = 0xFF;
};

// The cases of one fault kind.
std::vector<FaultCase> CasesOf(SimFaultKind kind);
// Every kind that the card knows.
std::vector<SimFaultKind> AllFaultKinds();
std::string KindName(SimFaultKind kind);

// The `call` field for the fault, from the calls of a clean run of the
// transaction.
int ResolveCall(const FaultCase& fault, const std::vector<SimCall>& clean);

}  // namespace campaign
