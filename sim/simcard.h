// Control interface of the simulated capture card.
//
// The simulated "BtVid_32.Dll" exports, besides the 42 driver functions, one
// more function, SimGetControl, which returns a table of control functions
// for tests, the stand-in host and the demo. All of it is per process: each
// process that loads the simulated driver has its own card. Every function
// uses the C calling convention, like the driver functions themselves.
//
// Times are microseconds since the simulated driver was loaded (or since the
// last Reset), taken from the performance counter.
#pragma once

#include <stdint.h>

extern "C" {

// Fault kinds. A fault applies to a run of transactions; the simulated card
// counts a transaction at every call of I2CInitSWMode (TandorUtl makes one
// at the start of each transaction) and at every readByte or write3byte of
// the simulated "wdmI2cDll.dll". The first transaction after Reset is 0.
enum SimFaultKind {
  // The addressed device withholds its acknowledge for byte `value` of the
  // transaction (0 is the address byte, 1 the next byte, ...).
  SIM_FAULT_NACK_BYTE = 1,
  // A device holds SCL low when the master releases it: for `value` samples
  // of I2CSWReadSCL (-1: for ever). `call` picks the release (the n-th call
  // of I2CSWSetSCL(1) within the transaction, from 0; -1: every release).
  SIM_FAULT_HOLD_SCL,
  // A device holds SDA low for the whole transaction.
  SIM_FAULT_HOLD_SDA,
  // I2CSWSetSCL / I2CSWSetSDA return `value` (the line still follows the
  // argument). `call` picks the n-th call within the transaction (-1: all),
  // `level` only calls with that argument (0 or 1; -1: any).
  SIM_FAULT_SET_SCL_RESULT,
  SIM_FAULT_SET_SDA_RESULT,
  // I2CSWReadSCL / I2CSWReadSDA return `value` instead of 1 when the line is
  // high (..._HIGH_AS) or instead of 0 when it is low (..._LOW_AS). `call`
  // picks the n-th read within the transaction (-1: all).
  SIM_FAULT_READ_SCL_HIGH_AS,
  SIM_FAULT_READ_SCL_LOW_AS,
  SIM_FAULT_READ_SDA_HIGH_AS,
  SIM_FAULT_READ_SDA_LOW_AS,
  // I2CInitSWMode returns `value`.
  SIM_FAULT_INIT_SW_MODE_RESULT,
  // I2CIsInitOK returns `value` (transaction counting does not apply: the
  // fault holds from when it is added until Reset).
  SIM_FAULT_I2C_INIT_OK_RESULT,
  // The simulated "wdmI2cDll.dll": readByte leaves the caller's variable
  // untouched (and reports success), or reports failure (returns `value`,
  // non-zero) after storing nothing.
  SIM_FAULT_WDM_READ_UNTOUCHED,
  SIM_FAULT_WDM_READ_FAILS,
};

struct SimFault {
  int kind;          // SimFaultKind
  int transaction;   // first transaction it applies to; -1: from now on
  int transactions;  // how many transactions from there; -1: for ever
  int call;          // see the kinds; -1: every call
  int level;         // see the kinds; -1: any
  int value;         // see the kinds
};

// One call of a driver function, as the simulated driver received it.
struct SimCall {
  int function;  // DriverFunction index (utl/driver_api.h), 0..41
  int argc;      // number of arguments received, 0..4
  int args[4];
  int result;  // 0 for functions without a result
  int64_t timeUs;
};

// What a device decoded on the bus, in order.
enum SimBusEventType {
  SIM_EVENT_START = 1,  // start (or repeated start) condition
  SIM_EVENT_STOP,       // stop condition
  SIM_EVENT_BYTE_OUT,   // master sent `value`; `ack` 1 if a device acked
  SIM_EVENT_BYTE_IN,    // a device sent `value`; `ack` 1 master acked,
                        // 0 master did not ack, -1 no ninth clock
};

struct SimBusEvent {
  int type;       // SimBusEventType
  int value;      // the byte, for the byte events
  int ack;        // see the types
  int entryFlag;  // START/STOP: the word at offset 0 of "dllmemfilemap",
                  // -1 when the region does not exist
  int64_t timeUs;
};

// A write to the receiver's sub-address 2: 0x20 sound on, 0x10 and 0x40
// sound off.
struct SimSoundWrite {
  int value;
  int viaWdm;  // 1: through the simulated "wdmI2cDll.dll"
  int64_t timeUs;
};

// A read of the receiver (the byte it sent, or 0xAA when no key was held).
struct SimKeyRead {
  int code;
  int viaWdm;
  int64_t timeUs;
};

// One step of a key script: at `atMs` after the script started, the receiver
// starts to report `code` (-1: the key is released and it reports 0xAA).
struct SimKeyStep {
  int atMs;
  int code;
};

struct SimControl {
  int size;  // sizeof(SimControl), for a caller to check

  // Everything back to power-on: lines released, no key, no fault, no
  // record, the clock back to 0. Tracing on.
  void(__cdecl* Reset)(void);

  // Keys. A script replaces the held key from the moment it is played; times
  // are measured from that moment. A key pressed by hand ends a script.
  void(__cdecl* PressKey)(int code);
  void(__cdecl* ReleaseKey)(void);
  void(__cdecl* PlayKeyScript)(const SimKeyStep* steps, int count);
  int(__cdecl* HeldKey)(void);  // code held now, -1 for none

  // Faults; AddFault returns an identifier, ClearFaults removes all.
  int(__cdecl* AddFault)(const SimFault* fault);
  void(__cdecl* ClearFaults)(void);
  int(__cdecl* TransactionCount)(void);

  // Records. Each Get returns the number of entries and copies at most
  // `capacity` of them, from the first, into `out` (which may be null).
  int(__cdecl* GetCalls)(SimCall* out, int capacity);
  int(__cdecl* GetBusEvents)(SimBusEvent* out, int capacity);
  int(__cdecl* GetSoundWrites)(SimSoundWrite* out, int capacity);
  int(__cdecl* GetKeyReads)(SimKeyRead* out, int capacity);
  void(__cdecl* ClearRecords)(void);

  // Protocol violations seen by the devices since Reset, and a text that
  // describes the first one ("" when there is none).
  int(__cdecl* ViolationCount)(void);
  const char*(__cdecl* FirstViolation)(void);

  // The bus lines now: 1 high, 0 low (what a device sees).
  int(__cdecl* Scl)(void);
  int(__cdecl* Sda)(void);

  // Sound as last switched by the receiver: 1 on, 0 off, -1 never switched.
  int(__cdecl* SoundState)(void);

  // Writes the trace of both lines since Reset as a VCD file; 0 on success.
  int(__cdecl* WriteVcd)(const char* path);

  int64_t(__cdecl* NowUs)(void);
};

// Exported by the simulated "BtVid_32.Dll".
__declspec(dllexport) const SimControl* __cdecl SimGetControl(void);
typedef const SimControl*(__cdecl* SimGetControlFn)(void);

// Byte-level access to the simulated card's devices, exported by the
// simulated "BtVid_32.Dll" for the simulated "wdmI2cDll.dll" (which reaches
// the card through its own kernel driver, not through the line primitives).
// Both return 0 for success and count as one transaction.
__declspec(dllexport) int __cdecl SimWdmReadByte(int address, int* value);
__declspec(dllexport) int __cdecl SimWdmWrite3(int address, int byte1,
                                               int byte2);

}  // extern "C"

// Environment variable read when the simulated driver is loaded: a list of
// settings separated by ';', for child processes that cannot be reached
// through SimGetControl before they load the driver. Understood:
//   i2c_init_ok=N     I2CIsInitOK returns N
//   init_sw_mode=N    I2CInitSWMode returns N
//   keys=T:C,T:C,...  a key script (C of -1 releases)
#define SIMCARD_ENV "SIMCARD"
