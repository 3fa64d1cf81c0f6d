// Control interface of the simulated capture card.
//
// The simulated "BtVid_32.Dll" exports, besides the 42 driver functions, one
// more function, SimGetControl, which returns a table of control functions
// for tests, the stand-in host and the demo. All of it is per process: each
// process that loads the simulated driver has its own card. Every function
// uses the C calling convention, like the driver functions themselves, and
// every function of the table may be called from any thread (one lock guards
// the whole card).
//
// Times are microseconds since the simulated driver was loaded (or since the
// last Reset), taken from the performance counter.
//
// The card: an open-drain I2C bus (a line is high only while the master and
// every device release it), the remote-control receiver at address bytes
// 0x96/0x97 and a second device at 0x90/0x91. Both devices react to every
// line change, as real ones do, and a protocol checker watches the lines.
//
// The receiver: a read (0x97) sends one byte per transaction, the code of
// the key held (0xAA when none), most significant bit first, and then lets
// SDA go whether or not the master acknowledges. A write (0x96) takes a
// sub-address and then values for the sub-addresses that follow it; every
// value written to sub-address 2 is recorded as a sound write (0x20 switches
// sound on, 0x10 and 0x40 switch it off, other values leave it as it is).
// The device at 0x90/0x91 sends 0x5A for every byte read (further bytes
// while the master acknowledges) and acknowledges every byte written.
// Address bytes that no device owns are not acknowledged.
//
// The driver functions that are not part of the software I2C line interface
// (video, GPIO, hardware I2C and the driver's own byte-level software I2C
// functions) do not touch the bus: they return SimDriverResult(function,
// arguments), a value computed from the function and its arguments, so that
// a caller can see that arguments and results travel unchanged. I2CIsInitOK
// returns 1, I2CInitSWMode 0, I2CSWSetSCL/SDA 0, unless a fault says else.
#pragma once

#include <stdint.h>

// The exports come from a .def file, so there is no dllexport here; a
// client that links against the import library gets dllimport.
#ifdef SIMCARD_BUILD
#define SIMCARD_API
#else
#define SIMCARD_API __declspec(dllimport)
#endif

extern "C" {

// Fault kinds. A fault applies to a run of transactions; the simulated card
// counts a transaction at every call of I2CInitSWMode (TandorUtl makes one
// at the start of each transaction) and at every readByte or write3byte of
// the simulated "wdmI2cDll.dll". The first transaction after Reset is 0.
// Calls made before the first I2CInitSWMode belong to no transaction (-1).
// When several faults of one kind match a call, the one added last wins.
enum SimFaultKind {
  // The addressed device withholds its acknowledge for byte `value` of the
  // transaction (0 is the address byte, 1 the next byte, ...; counted from
  // the start condition). A device that withholds an acknowledge ignores the
  // byte (a withheld sound write is not recorded) and the rest of the
  // transaction.
  SIM_FAULT_NACK_BYTE = 1,
  // A device holds SCL low when the master releases it: for `value` samples
  // of I2CSWReadSCL (-1: for ever). `call` picks the release (the n-th call
  // of I2CSWSetSCL(1) within the transaction, from 0; -1: every release).
  // With `value` N the first N samples after the release read low and the
  // next one reads high. A hold ends at the latest when the next
  // transaction begins.
  SIM_FAULT_HOLD_SCL,
  // A device holds SDA low for the whole transaction (from its
  // I2CInitSWMode to the next one).
  SIM_FAULT_HOLD_SDA,
  // I2CSWSetSCL / I2CSWSetSDA return `value` (the line still follows the
  // argument). `call` picks the n-th call of that function within the
  // transaction, from 0, counting every call whatever its argument (-1: all);
  // `level` only calls with that argument (0 or 1; -1: any).
  SIM_FAULT_SET_SCL_RESULT,
  SIM_FAULT_SET_SDA_RESULT,
  // I2CSWReadSCL / I2CSWReadSDA return `value` instead of 1 when the line is
  // high (..._HIGH_AS) or instead of 0 when it is low (..._LOW_AS). `call`
  // picks the n-th read of that function within the transaction, from 0
  // (-1: all).
  SIM_FAULT_READ_SCL_HIGH_AS,
  SIM_FAULT_READ_SCL_LOW_AS,
  SIM_FAULT_READ_SDA_HIGH_AS,
  SIM_FAULT_READ_SDA_LOW_AS,
  // I2CInitSWMode returns `value` (the call still begins a transaction).
  SIM_FAULT_INIT_SW_MODE_RESULT,
  // I2CIsInitOK returns `value` (transaction counting does not apply: the
  // fault holds from when it is added until Reset).
  SIM_FAULT_I2C_INIT_OK_RESULT,
  // The simulated "wdmI2cDll.dll": readByte leaves the caller's variable
  // untouched (and reports success), or reports failure (returns `value`,
  // or 1 when `value` is 0) after storing nothing.
  SIM_FAULT_WDM_READ_UNTOUCHED,
  SIM_FAULT_WDM_READ_FAILS,
};

struct SimFault {
  int kind;          // SimFaultKind
  int transaction;   // first transaction it applies to; -1: from the next
                     // transaction on
  int transactions;  // how many transactions from there; -1: for ever
  int call;          // see the kinds; -1: every call
  int level;         // see the kinds; -1: any
  int value;         // see the kinds
};

// One call of a driver function, as the simulated driver received it.
struct SimCall {
  int function;    // DriverFunction index (utl/driverApi.h), 0..41
  int argc;        // number of arguments received, 0..4
  int args[4];     // unused places are 0
  int result;      // 0 for functions without a result
  int64_t timeUs;  // when the call came in
};

// What the bus monitor decoded on the bus, in order.
enum SimBusEventType {
  SIM_EVENT_START = 1,  // start (or repeated start) condition
  SIM_EVENT_STOP,       // stop condition (also one on an idle bus)
  SIM_EVENT_BYTE_OUT,   // master sent `value`; `ack` 1 if a device acked
  SIM_EVENT_BYTE_IN,    // a device sent `value`; `ack` 1 master acked,
                        // 0 master did not ack, -1 no ninth clock (the
                        // stop followed the eighth bit)
};

struct SimBusEvent {
  int type;       // SimBusEventType
  int value;      // the byte, for the byte events
  int ack;        // see the types
  int entryFlag;  // START/STOP: the word at offset 0 of "dllmemfilemap",
                  // -1 when the region does not exist; byte events: -1
  int64_t timeUs;
};

// A write to the receiver's sub-address 2.
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
// Before the first step no key is held; after the last one its code stays.
struct SimKeyStep {
  int atMs;
  int code;
};

// How many of the most recent entries the records and the line trace keep;
// older ones are dropped first.
#define SIM_MAX_CALLS 262144
#define SIM_MAX_BUS_EVENTS 65536
#define SIM_MAX_SOUND_WRITES 65536
#define SIM_MAX_KEY_READS 65536
#define SIM_MAX_TRACE_CHANGES 262144

struct SimControl {
  // Everything back to power-on: lines released, no key, no fault, no
  // record, no violation, sound never switched, the transaction count and
  // the clock back to 0. Tracing on. (Settings from SIMCARD are not applied
  // again.) Call it while no transaction is under way: it also releases the
  // master's outputs.
  void(__cdecl* Reset)(void);

  // Keys. A script replaces the held key from the moment it is played; times
  // are measured from that moment. A key pressed or released by hand ends a
  // script. Codes are bytes (0..255); PressKey with a negative code releases.
  void(__cdecl* PressKey)(int code);
  void(__cdecl* ReleaseKey)(void);
  void(__cdecl* PlayKeyScript)(const SimKeyStep* steps, int count);
  int(__cdecl* HeldKey)(void);  // code held now, -1 for none

  // Faults; AddFault returns an identifier (1, 2, ..., counted again from 1
  // after ClearFaults or Reset), or -1 for a null pointer or an unknown
  // kind; ClearFaults removes all.
  int(__cdecl* AddFault)(const SimFault* fault);
  void(__cdecl* ClearFaults)(void);
  // Transactions begun since Reset (the next one gets this number).
  int(__cdecl* TransactionCount)(void);

  // Records. Each Get returns the number of entries and copies at most
  // `capacity` of them, from the first, into `out` (which may be null).
  int(__cdecl* GetCalls)(SimCall* out, int capacity);
  int(__cdecl* GetBusEvents)(SimBusEvent* out, int capacity);
  int(__cdecl* GetSoundWrites)(SimSoundWrite* out, int capacity);
  int(__cdecl* GetKeyReads)(SimKeyRead* out, int capacity);
  void(__cdecl* ClearRecords)(void);

  // Protocol violations seen by the devices since Reset, and a text that
  // describes the first one ("" when there is none). Violations: SDA
  // changing while SCL is high inside a byte (a start or stop after the
  // first and before the ninth clock of a byte), SCL clocked while SDA is
  // low on an idle bus (no start condition before the clocks), and the
  // master pulling SDA low while a device is to drive it (a data bit sent
  // by a device, or the device's acknowledge). A start or stop in the high
  // phase of a byte's first clock or of its ninth clock, clock pulses with
  // SDA high on an idle bus and a stop on an idle bus are legal. The text's
  // storage lasts as long as the driver is loaded.
  int(__cdecl* ViolationCount)(void);
  const char*(__cdecl* FirstViolation)(void);

  // The bus lines now: 1 high, 0 low (what a device sees).
  int(__cdecl* Scl)(void);
  int(__cdecl* Sda)(void);

  // Sound as last switched by the receiver: 1 on, 0 off, -1 never switched.
  int(__cdecl* SoundState)(void);

  // Writes the trace of both lines since Reset as a VCD file; 0 on success.
  // Timescale 1 ns; variables SCL and SDA (the lines) and master_scl,
  // master_sda, device_scl, device_sda (1: released, 0: pulled low; the
  // devices' outputs combined). Changes that fall on one tick of the
  // performance counter are spread 1 ns apart so that none is hidden. When
  // more than SIM_MAX_TRACE_CHANGES changes were traced, the file begins
  // with the state before the oldest one kept.
  int(__cdecl* WriteVcd)(const char* path);

  int64_t(__cdecl* NowUs)(void);

  // Tracing on (1) or off (0); while off no line change is traced.
  void(__cdecl* SetTracing)(int on);
};

SIMCARD_API const SimControl* __cdecl SimGetControl(void);
typedef const SimControl*(__cdecl* SimGetControlFn)(void);

// Byte-level access to the simulated card's devices, for the simulated
// "wdmI2cDll.dll" (not through the line primitives). Both return 0 for success
// and count as one transaction. SimWdmReadByte stores the byte read in *value;
// SimWdmWrite3 sends byte1 (a sub-address) and byte2 to the device. An address
// byte that no device answers, a null pointer or a withheld acknowledge
// (SIM_FAULT_NACK_BYTE) gives 1.
SIMCARD_API int __cdecl SimWdmReadByte(int address, int* value);
SIMCARD_API int __cdecl SimWdmWrite3(int address, int byte1, int byte2);

}  // extern "C"

// The result of a driver function that does not touch the bus: computed
// from the function's index (utl/driverApi.h) and its arguments, in order,
// so that a changed, missing or reordered argument changes the result.
inline int SimDriverResult(int function, const int* args, int argc) {
  uint32_t result = 0x5100u + static_cast<uint32_t>(function) * 0x100u;
  for (int i = 0; i < argc; ++i)
    result = result * 31u + static_cast<uint32_t>(args[i]);
  return static_cast<int>(result);
}

// Environment variable read when the simulated driver is loaded: a list of
// settings separated by ';', for child processes that cannot be reached
// through SimGetControl before they load the driver. Understood:
//   i2c_init_ok=N     I2CIsInitOK returns N
//   init_sw_mode=N    I2CInitSWMode returns N
//   keys=T:C,T:C,...  a key script (C of -1 releases)
//   fault=K:F:N:C:L:V a fault (SimFault's fields in order); may be repeated
//   vcd=PATH          the line trace is written to PATH when the driver is
//                     unloaded
// Numbers may be decimal or 0x-hex. Unknown or malformed settings are
// ignored (and reported with OutputDebugStringA).
#define SIMCARD_ENV "SIMCARD"

// Variants of the simulated driver that lack chosen functions, each a
// "BtVid_32.Dll" in bin\variants\<name>\ (load it by full path before
// TandorUtl loads the driver by name).
#define SIM_VARIANT_NO_I2CSWREADSCL "no-I2CSWReadSCL"
#define SIM_VARIANT_NO_I2CHWWRITE3 "no-I2CHWWrite3"
#define SIM_VARIANT_NO_SETGPIE_BT848SETHUE "no-SetGPIE-Bt848SetHue"
#define SIM_VARIANT_NO_BT848SETCCSTATUS "no-Bt848SetCCStatus"
#define SIM_VARIANT_NO_BT848UNLOADIMAGE "no-Bt848UnLoadImage"
#define SIM_VARIANT_NO_ISBT878FAMILY "no-IsBt878Family"
#define SIM_VARIANT_NO_BT848SETSATURATION "no-Bt848SetSaturation"
// The simulated "wdmI2cDll.dll" without write3byte, and a stand-in
// "tandorutl.dll" without DlkGetEntryFlag (test fixtures for the plug-in's
// import failures), each in bin\variants\<name>\.
#define SIM_VARIANT_WDM_NO_WRITE3BYTE "wdm-no-write3byte"
#define SIM_VARIANT_UTL_NO_GETENTRYFLAG "utl-no-getentryflag"
