// The one table of faults: every fault that the simulated card can inject,
// at the places that decide its outcome, with what each of TandorUtl's
// three transactions documents for it and what the plug-in makes of it
// through "wdmI2cDll.dll". The card utility library's tests run every row
// against the transactions; the plug-in's tests run the read column against
// its key reading (one read transaction) and the wdmI2cDll.dll column
// against its other back end.
#pragma once

#include <string>
#include <vector>

#include "control_table.h"

namespace testsupport {

enum Transaction { kReadByte, kWrite3, kMultiWrite, kTransactionCount };

// The frames: a read of the receiver (address byte 0x97), a sound-on write
// to it (0x96, 2, 0x20) and a multi-write of three data bytes to the second
// device (0x90, 0x10, D0 D1 D2).
const char* TransactionName(Transaction transaction);

// Which call a fault picks. Positions count the calls of the fault's driver
// function in a clean run of the same transaction (see ResolveCall): from
// the first (0 is the first call) or from the last (1 is the last).
struct CallPick {
  enum Base { kEvery, kFromFirst, kFromLast };
  Base base;
  int n;
};

// What a reading through "wdmI2cDll.dll", which reads whole bytes through
// its own driver, makes of the fault: the plug-in presets the code to 0 and
// does not look at the read's result, so a reading the fault spoils
// delivers key code 0; the software bus's line faults never reach it.
enum WdmOutcome { kWdmNotTried, kWdmUnaffected, kWdmKeyZero };

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
  WdmOutcome wdm = kWdmNotTried;
};

const std::vector<FaultCase>& FaultTable();
// The rows of one fault kind.
std::vector<FaultCase> CasesOf(SimFaultKind kind);
// Every kind that the card knows.
std::vector<SimFaultKind> AllFaultKinds();
std::string KindName(SimFaultKind kind);

// The `call` field for the fault, from the calls of a clean run of the
// transaction.
int ResolveCall(const FaultCase& fault, const std::vector<SimCall>& clean);

// The fault placed on `count` transactions from transaction `first`.
SimFault FaultOn(const FaultCase& fault, int first, int count, int call);

}  // namespace testsupport
