// The simulated capture card: the bus with its devices, the protocol
// checker, the faults, the records and the trace, and what the driver's
// functions do with them. Not thread-safe by itself: the driver's exports
// hold the card's lock around every use (sim_instance.h).
#pragma once

#include <stdint.h>

#include <string>

#include "devices.h"
#include "driverApi.h"
#include "fault_set.h"
#include "i2c_target.h"
#include "key_source.h"
#include "line_bus.h"
#include "protocol_checker.h"
#include "records.h"
#include "sim_clock.h"
#include "sim_settings.h"
#include "control_table.h"
#include "vcd_trace.h"

namespace sim {

class SimCard final : private ReceiverHost, private CheckerSink {
 public:
  SimCard();
  SimCard(const SimCard&) = delete;
  SimCard& operator=(const SimCard&) = delete;

  // Power-on state (SimControl::Reset).
  void Reset();
  // Faults and a key script from the SIMCARD environment variable.
  void Apply(const SimSettings& settings);

  // One call of a driver function, recorded with its result.
  int CallDriver(DriverFunction function, const int* args, int argc);

  // The simulated "wdmI2cDll.dll"'s access to the devices.
  int WdmReadByte(int address, int* value);
  int WdmWrite3(int address, int byte1, int byte2);

  // Keys.
  void PressKey(int code) { keys_.Press(code); }
  void ReleaseKey() { keys_.Press(-1); }
  void PlayKeyScript(const SimKeyStep* steps, int count) {
    keys_.Play(steps, count, clock_.NowUs());
  }
  int HeldKey() override { return keys_.HeldAt(clock_.NowUs()); }

  // Faults.
  int AddFault(const SimFault& fault) {
    return faults_.Add(fault, TransactionCount());
  }
  void ClearFaults() { faults_.Clear(); }
  int TransactionCount() const { return transaction_ + 1; }

  // Records and observations.
  const Records& records() const { return records_; }
  void ClearRecords() { records_.Clear(); }
  const ViolationLog& violations() const { return violations_; }
  int Scl() const { return bus_.State().scl ? 1 : 0; }
  int Sda() const { return bus_.State().sda ? 1 : 0; }
  int SoundState() const { return receiver_.SoundState(); }
  bool WriteVcd(const std::string& path) const;
  void SetTracing(bool on) { trace_.SetEnabled(on); }
  int64_t NowUs() const { return clock_.NowUs(); }

 private:
  // The per-transaction call numbers that faults select by.
  struct CallCounters {
    int set[2] = {0, 0};   // I2CSWSetSCL, I2CSWSetSDA
    int read[2] = {0, 0};  // I2CSWReadSCL, I2CSWReadSDA
    int sclReleases = 0;   // I2CSWSetSCL with a non-zero level
  };
  // A device stretching the clock (SIM_FAULT_HOLD_SCL).
  struct SclHold {
    bool active = false;
    int samplesLeft = 0;  // -1: for ever
  };

  AckGate FaultGate();
  int RunDriverFunction(DriverFunction function, const int* args, int argc);
  int InitSwMode();
  int I2cIsInitOk() const;
  int SetLine(Line line, int level);
  int ReadLine(Line line);
  void BeginTransaction();
  void StartSclHold(int samples);
  void AdvanceSclHold();
  void HoldLine(Line line, bool hold);

  // ReceiverHost
  void KeyRead(int code, bool viaWdm) override;
  void SoundWritten(int value, bool viaWdm) override;
  // CheckerSink
  void OnBusEvent(int type, int value, int ack) override;
  void OnViolation(const std::string& text) override { violations_.Add(text); }

  SimClock clock_;
  LineBus bus_;
  FaultSet faults_;
  Records records_;
  ViolationLog violations_;
  VcdTrace trace_{SIM_MAX_TRACE_CHANGES};
  KeySource keys_;
  RemoteReceiver receiver_{*this};
  FixedByteDevice fixedDevice_;
  I2cTarget receiverTarget_;
  I2cTarget fixedTarget_;
  ProtocolChecker checker_{*this};
  int faultyDevice_;  // the participant that holds lines for faults

  int transaction_ = -1;
  CallCounters counters_;
  SclHold sclHold_;
};

}  // namespace sim
