// The one table of faults: every fault that the simulated card can inject,
// at the places that decide its outcome, with what each of TandorUtl's
// three transactions documents for it and what the plug-in makes of it
// through "wdmI2cDll.dll". The card utility library's tests run every row
// against the transactions; the plug-in's tests run the read column against
// its key reading (one read transaction) and the wdmI2cDll.dll column
// against its other back end.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "control_table.h"
#include "driverApi.h"
#include "line_waits.h"

namespace testsupport {

enum Transaction { kReadByte, kWrite3, kMultiWrite, kTransactionCount };

// The frames: a read of the receiver (address byte 0x97), a sound-on write
// to it (0x96, 2, 0x20) and a multi-write of three data bytes to the second
// device (0x90, 0x10, D0 D1 D2).
inline const char* TransactionName(Transaction transaction) {
  static const char* const kNames[kTransactionCount] = {
      "DlkI2CSWReadByte", "DlkI2CSWWrite3", "DlkI2CSWMultiWrite"};
  return kNames[transaction];
}

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

// Test names show a row by what it says.
inline void PrintTo(const FaultCase& fault, std::ostream* out) {
  *out << fault.what;
}

// The table's own shorthand.
namespace rows {
const int kAny = -1;
// Samples: SCL held as long as a raise samples it, so that the raise fails.
const int kHeld = kRaiseSamples;
const CallPick kEveryCall = {CallPick::kEvery, 0};
inline CallPick First(int n) {
  return {CallPick::kFromFirst, n};
}
inline CallPick FromLast(int n) {
  return {CallPick::kFromLast, n};
}
}  // namespace rows

// Frames, as counted in the calls of each fault's driver function:
//   SCL releases: start 1, each byte out or in 8, each acknowledge slot 1
//     (the read's own acknowledge included), stop 2.
//   I2CSWSetSCL: twice each release.  I2CSWSetSDA: start 2, one a bit
//     sent, one an acknowledge slot, stop 2.
// Each row: what, kind, call, level, value, the results of the read, the
// write and the multi-write, then the read's mask and the wdmI2cDll.dll
// outcome where they are not 0xFF and kWdmNotTried.
inline const std::vector<FaultCase>& FaultTable() {
  using namespace rows;
  // clang-format off
  static const std::vector<FaultCase> table = {
    // The mode call.
    {"mode call refused with 1: nothing else happens",
     SIM_FAULT_INIT_SW_MODE_RESULT, kEveryCall, kAny, 1, {1, 1, 1}},
    {"mode call refused with -1",
     SIM_FAULT_INIT_SW_MODE_RESULT, kEveryCall, kAny, -1, {1, 1, 1}},
    // Acknowledges withheld by byte of the transaction.
    {"address byte not acknowledged",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 0, {1, 1, 1}, 0xFF, kWdmKeyZero},
    {"byte 1 not acknowledged (a read's byte 1 is the device's own)",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 1, {0, 1, 1}},
    {"byte 2 not acknowledged",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 2, {0, 1, 1}},
    {"byte 3 not acknowledged (the write has three)",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 3, {0, 0, 1}},
    {"byte 4 not acknowledged (the multi-write's last)",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 4, {0, 0, 1}},
    {"byte 5 not acknowledged (sent by none)",
     SIM_FAULT_NACK_BYTE, kEveryCall, kAny, 5, {0, 0, 0}},
    // SCL held low after a release.
    {"SCL held 500 samples at every release: waited out",
     SIM_FAULT_HOLD_SCL, kEveryCall, kAny, kHeld - 1, {0, 0, 0}},
    {"SCL held 501 samples in the start",
     SIM_FAULT_HOLD_SCL, First(0), kAny, kHeld, {1, 1, 1}},
    {"SCL held 501 samples at the first address bit",
     SIM_FAULT_HOLD_SCL, First(1), kAny, kHeld, {1, 1, 1}},
    {"SCL held 501 samples at the address acknowledge",
     SIM_FAULT_HOLD_SCL, First(9), kAny, kHeld, {1, 1, 1}},
    {"SCL held 501 samples at the second byte's first bit",
     SIM_FAULT_HOLD_SCL, First(10), kAny, kHeld, {1, 1, 1}},
    {"SCL held 501 samples at the last acknowledge slot (the read's own acknowledge is not checked)",
     SIM_FAULT_HOLD_SCL, FromLast(3), kAny, kHeld, {0, 1, 1}},
    {"SCL held for ever from the last acknowledge slot: the stop fails",
     SIM_FAULT_HOLD_SCL, FromLast(3), kAny, -1, {1, 1, 1}},
    {"SCL held 501 samples at the stop's first raise",
     SIM_FAULT_HOLD_SCL, FromLast(2), kAny, kHeld, {1, 1, 1}},
    {"SCL held 501 samples at the stop's closing clock",
     SIM_FAULT_HOLD_SCL, FromLast(1), kAny, kHeld, {1, 1, 1}},
    {"SCL held for ever at every release",
     SIM_FAULT_HOLD_SCL, kEveryCall, kAny, -1, {1, 1, 1}, 0xFF, kWdmUnaffected},
    // SDA held low for the whole transaction.
    {"SDA held low: the start cannot raise it",
     SIM_FAULT_HOLD_SDA, kEveryCall, kAny, 0, {1, 1, 1}, 0xFF, kWdmUnaffected},
    // Results of setting SCL.
    {"every release of SCL answers 1: ignored",
     SIM_FAULT_SET_SCL_RESULT, kEveryCall, 1, 1, {0, 0, 0}},
    {"every lowering of SCL answers 1: the start fails",
     SIM_FAULT_SET_SCL_RESULT, kEveryCall, 0, 1, {1, 1, 1}},
    {"every lowering of SCL answers 2: the start passes, the first bit fails",
     SIM_FAULT_SET_SCL_RESULT, kEveryCall, 0, 2, {1, 1, 1}},
    {"the start's lowering of SCL answers 2: only 1 fails there",
     SIM_FAULT_SET_SCL_RESULT, First(1), kAny, 2, {0, 0, 0}},
    {"the start's lowering of SCL answers 1",
     SIM_FAULT_SET_SCL_RESULT, First(1), kAny, 1, {1, 1, 1}},
    {"the first bit's lowering of SCL answers 2: the byte fails",
     SIM_FAULT_SET_SCL_RESULT, First(3), kAny, 2, {1, 1, 1}},
    {"the address acknowledge's lowering of SCL answers 1: ignored",
     SIM_FAULT_SET_SCL_RESULT, First(19), kAny, 1, {0, 0, 0}},
    {"the second byte's first lowering of SCL answers -1: the byte fails",
     SIM_FAULT_SET_SCL_RESULT, First(21), kAny, -1, {1, 1, 1}},
    {"the last acknowledge slot's lowering of SCL answers 1: ignored",
     SIM_FAULT_SET_SCL_RESULT, FromLast(4), kAny, 1, {0, 0, 0}},
    {"the stop's lowering of SCL answers 1: the stop fails",
     SIM_FAULT_SET_SCL_RESULT, FromLast(2), kAny, 1, {1, 1, 1}},
    {"the stop's lowering of SCL answers 2: only 1 fails there",
     SIM_FAULT_SET_SCL_RESULT, FromLast(2), kAny, 2, {0, 0, 0}},
    // Results of setting SDA.
    {"every release of SDA answers 1: the acknowledge's release fails",
     SIM_FAULT_SET_SDA_RESULT, kEveryCall, 1, 1, {1, 1, 1}},
    {"every release of SDA answers 2: only 1 fails anywhere",
     SIM_FAULT_SET_SDA_RESULT, kEveryCall, 1, 2, {0, 0, 0}},
    {"every lowering of SDA answers 1: the start fails",
     SIM_FAULT_SET_SDA_RESULT, kEveryCall, 0, 1, {1, 1, 1}},
    {"every lowering of SDA answers 2: the first 0 bit fails",
     SIM_FAULT_SET_SDA_RESULT, kEveryCall, 0, 2, {1, 1, 1}},
    {"the start's lowering of SDA answers 2: only 1 fails there",
     SIM_FAULT_SET_SDA_RESULT, First(1), kAny, 2, {0, 0, 0}},
    {"the last SDA setting before the stop answers 1 (the read's own acknowledge is not checked, a write's release is)",
     SIM_FAULT_SET_SDA_RESULT, FromLast(3), kAny, 1, {0, 1, 1}},
    {"the stop's lowering of SDA answers 1: the stop fails",
     SIM_FAULT_SET_SDA_RESULT, FromLast(2), kAny, 1, {1, 1, 1}},
    {"the stop's lowering of SDA answers 2: only 1 fails there",
     SIM_FAULT_SET_SDA_RESULT, FromLast(2), kAny, 2, {0, 0, 0}},
    {"the stop's release of SDA answers 1: ignored",
     SIM_FAULT_SET_SDA_RESULT, FromLast(1), kAny, 1, {0, 0, 0}},
    // SCL samples.
    {"every high SCL sample reads 2: no raise succeeds",
     SIM_FAULT_READ_SCL_HIGH_AS, kEveryCall, kAny, 2, {1, 1, 1}},
    {"every high SCL sample reads 0",
     SIM_FAULT_READ_SCL_HIGH_AS, kEveryCall, kAny, 0, {1, 1, 1}},
    {"the first SCL sample reads 2: sampled again",
     SIM_FAULT_READ_SCL_HIGH_AS, First(0), kAny, 2, {0, 0, 0}},
    {"the last SCL sample reads 2: sampled again",
     SIM_FAULT_READ_SCL_HIGH_AS, FromLast(1), kAny, 2, {0, 0, 0}},
    {"every low SCL sample reads 1: SCL is sampled only once released",
     SIM_FAULT_READ_SCL_LOW_AS, kEveryCall, kAny, 1, {0, 0, 0}},
    // SDA samples.
    {"every high SDA sample reads 2: the start cannot raise SDA",
     SIM_FAULT_READ_SDA_HIGH_AS, kEveryCall, kAny, 2, {1, 1, 1}},
    {"the first SDA sample reads 2: sampled again",
     SIM_FAULT_READ_SDA_HIGH_AS, First(0), kAny, 2, {0, 0, 0}},
    {"the last bit received reads 2: a 0 bit (a write's last acknowledge is low and unaffected)",
     SIM_FAULT_READ_SDA_HIGH_AS, FromLast(2), kAny, 2, {0, 0, 0}, 0xFE},
    {"every low SDA sample reads 1: no acknowledge comes",
     SIM_FAULT_READ_SDA_LOW_AS, kEveryCall, kAny, 1, {1, 1, 1}},
    {"every low SDA sample reads 2: no acknowledge comes",
     SIM_FAULT_READ_SDA_LOW_AS, kEveryCall, kAny, 2, {1, 1, 1}},
    {"the last acknowledge's sample reads 1: sampled again",
     SIM_FAULT_READ_SDA_LOW_AS, FromLast(2), kAny, 1, {0, 0, 0}},
    // Faults that the transactions never meet.
    {"the driver reports I2C not ready: only the load checks it",
     SIM_FAULT_I2C_INIT_OK_RESULT, kEveryCall, kAny, 0, {0, 0, 0}},
    {"the wdm library's read leaves its variable: not this library's",
     SIM_FAULT_WDM_READ_UNTOUCHED, kEveryCall, kAny, 0, {0, 0, 0}, 0xFF, kWdmKeyZero},
    {"the wdm library's read fails: not this library's",
     SIM_FAULT_WDM_READ_FAILS, kEveryCall, kAny, 1, {0, 0, 0}, 0xFF, kWdmKeyZero},
  };
  // clang-format on
  return table;
}

// The rows of one fault kind.
inline std::vector<FaultCase> CasesOf(SimFaultKind kind) {
  std::vector<FaultCase> cases;
  for (const FaultCase& fault : FaultTable())
    if (fault.kind == kind) cases.push_back(fault);
  return cases;
}

// Every kind that the card knows.
inline std::vector<SimFaultKind> AllFaultKinds() {
  std::vector<SimFaultKind> kinds;
  for (int kind = SIM_FAULT_NACK_BYTE; kind <= SIM_FAULT_WDM_READ_FAILS; ++kind)
    kinds.push_back(static_cast<SimFaultKind>(kind));
  return kinds;
}

inline std::string KindName(SimFaultKind kind) {
  // In the order of SimFaultKind, from SIM_FAULT_NACK_BYTE on.
  static const char* const kKindNames[] = {
      "NackByte",     "HoldScl",          "HoldSda",         "SetSclResult",
      "SetSdaResult", "ReadSclHighAs",    "ReadSclLowAs",    "ReadSdaHighAs",
      "ReadSdaLowAs", "InitSwModeResult", "I2cInitOkResult", "WdmReadUntouched",
      "WdmReadFails"};
  static_assert(sizeof kKindNames / sizeof kKindNames[0] ==
                    SIM_FAULT_WDM_READ_FAILS - SIM_FAULT_NACK_BYTE + 1,
                "a name for every kind");
  return kKindNames[kind - SIM_FAULT_NACK_BYTE];
}

// The `call` field for the fault, from the calls of a clean run of the
// transaction: those of its first transaction, from its mode call on.
inline int ResolveCall(const FaultCase& fault,
                       const std::vector<SimCall>& clean) {
  // The driver function whose calls a fault of each kind counts, and the
  // argument that a counted call must have (-1: any). The other kinds hit
  // every call or none.
  static const struct {
    SimFaultKind kind;
    int function;
    int argument;
  } kCounted[] = {
      {SIM_FAULT_HOLD_SCL, kDrv_I2CSWSetSCL, 1},
      {SIM_FAULT_SET_SCL_RESULT, kDrv_I2CSWSetSCL, -1},
      {SIM_FAULT_SET_SDA_RESULT, kDrv_I2CSWSetSDA, -1},
      {SIM_FAULT_READ_SCL_HIGH_AS, kDrv_I2CSWReadSCL, -1},
      {SIM_FAULT_READ_SCL_LOW_AS, kDrv_I2CSWReadSCL, -1},
      {SIM_FAULT_READ_SDA_HIGH_AS, kDrv_I2CSWReadSDA, -1},
      {SIM_FAULT_READ_SDA_LOW_AS, kDrv_I2CSWReadSDA, -1},
  };
  if (fault.call.base == CallPick::kEvery) return -1;
  if (fault.call.base == CallPick::kFromFirst) return fault.call.n;
  int count = 0, transactions = 0;
  for (const SimCall& call : clean) {
    transactions += call.function == kDrv_I2CInitSWMode;
    if (transactions != 1) continue;
    for (const auto& counted : kCounted)
      count += counted.kind == fault.kind &&
               call.function == counted.function &&
               (counted.argument < 0 || call.args[0] == counted.argument);
  }
  return count - fault.call.n;
}

// The fault placed on `count` transactions from transaction `first`.
inline SimFault FaultOn(const FaultCase& fault, int first, int count,
                        int call) {
  return {fault.kind, first, count, call, fault.level, fault.value};
}

}  // namespace testsupport
