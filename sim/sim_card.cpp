#include "sim_card.h"

#include <stdio.h>

#include <algorithm>

#include "entry_flag_probe.h"

namespace sim {
namespace {

// The fault kinds of each line, indexed by Line (kScl 0, kSda 1).
const int kSetResultFault[] = {SIM_FAULT_SET_SCL_RESULT,
                               SIM_FAULT_SET_SDA_RESULT};
const int kReadHighFault[] = {SIM_FAULT_READ_SCL_HIGH_AS,
                              SIM_FAULT_READ_SDA_HIGH_AS};
const int kReadLowFault[] = {SIM_FAULT_READ_SCL_LOW_AS,
                             SIM_FAULT_READ_SDA_LOW_AS};

}  // namespace

SimCard::SimCard()
    : receiverTarget_(bus_, RemoteReceiver::kAddress, receiver_, FaultGate()),
      fixedTarget_(bus_, FixedByteDevice::kAddress, fixedDevice_, FaultGate()),
      faultyDevice_(bus_.AddParticipant()) {
  bus_.AddListener(&checker_);
  bus_.SetObserver(
      [this](const LineState& state) { trace_.Record(clock_.NowNs(), state); });
  Reset();
}

// Both devices withhold the acknowledges that a fault asks for.
AckGate SimCard::FaultGate() {
  return [this](int byte) { return !faults_.WithholdsAck(transaction_, byte); };
}

void SimCard::Reset() {
  clock_.Restart();
  bus_.ReleaseAll();
  receiverTarget_.Reset();
  fixedTarget_.Reset();
  checker_.Reset();
  receiver_.Reset();
  keys_.Press(-1);
  faults_.Clear();
  records_.Clear();
  violations_.Clear();
  transaction_ = -1;
  counters_ = CallCounters();
  sclHold_ = SclHold();
  trace_.SetEnabled(true);
  trace_.Restart(bus_.State());
}

void SimCard::Apply(const SimSettings& settings) {
  for (const SimFault& fault : settings.faults) AddFault(fault);
  if (!settings.keys.empty())
    PlayKeyScript(settings.keys.data(), static_cast<int>(settings.keys.size()));
}

int SimCard::CallDriver(DriverFunction function, const int* args, int argc) {
  SimCall call = {};
  call.function = function;
  call.argc = std::min(argc, 4);
  std::copy(args, args + call.argc, call.args);
  call.timeUs = clock_.NowUs();
  call.result = RunDriverFunction(function, args, call.argc);
  records_.calls.Add(call);
  return call.result;
}

int SimCard::RunDriverFunction(DriverFunction function, const int* args,
                               int argc) {
  switch (function) {
    case kDrv_I2CIsInitOK:
      return I2cIsInitOk();
    case kDrv_I2CInitSWMode:
      return InitSwMode();
    case kDrv_I2CSWSetSCL:
      return SetLine(Line::kScl, args[0]);
    case kDrv_I2CSWSetSDA:
      return SetLine(Line::kSda, args[0]);
    case kDrv_I2CSWReadSCL:
      return ReadLine(Line::kScl);
    case kDrv_I2CSWReadSDA:
      return ReadLine(Line::kSda);
    case kDrv_SetGPIOMODE:
      return 0;  // no result
    default:
      return SimDriverResult(function, args, argc);
  }
}

int SimCard::I2cIsInitOk() const {
  const SimFault* fault = faults_.FindAny(SIM_FAULT_I2C_INIT_OK_RESULT);
  return fault ? fault->value : 1;
}

int SimCard::InitSwMode() {
  BeginTransaction();
  const SimFault* fault =
      faults_.Find(SIM_FAULT_INIT_SW_MODE_RESULT, transaction_);
  return fault ? fault->value : 0;
}

void SimCard::BeginTransaction() {
  ++transaction_;
  counters_ = CallCounters();
  sclHold_ = SclHold();
  HoldLine(Line::kScl, false);
  HoldLine(Line::kSda,
           faults_.Find(SIM_FAULT_HOLD_SDA, transaction_) != nullptr);
}

void SimCard::HoldLine(Line line, bool hold) {
  bus_.Drive(faultyDevice_, line, !hold);
}

int SimCard::SetLine(Line line, int level) {
  const bool release = level != 0;
  const int index = static_cast<int>(line);
  const int call = counters_.set[index]++;
  if (line == Line::kScl && release) {
    const SimFault* hold =
        faults_.Find(SIM_FAULT_HOLD_SCL, transaction_, counters_.sclReleases++);
    if (hold) StartSclHold(hold->value);
  }
  bus_.Drive(LineBus::kMaster, line, release);
  const SimFault* fault =
      faults_.Find(kSetResultFault[index], transaction_, call, release ? 1 : 0);
  return fault ? fault->value : 0;
}

int SimCard::ReadLine(Line line) {
  const int index = static_cast<int>(line);
  const int call = counters_.read[index]++;
  if (line == Line::kScl) AdvanceSclHold();
  const LineState& state = bus_.State();
  const bool high = line == Line::kScl ? state.scl : state.sda;
  const SimFault* fault = faults_.Find(
      high ? kReadHighFault[index] : kReadLowFault[index], transaction_, call);
  if (fault) return fault->value;
  return high ? 1 : 0;
}

// The device pulls SCL low before the master lets it go, so that the line
// never rises.
void SimCard::StartSclHold(int samples) {
  if (samples == 0) return;
  sclHold_.active = true;
  sclHold_.samplesLeft = samples;
  HoldLine(Line::kScl, true);
}

// Called before each sample of SCL: the first N samples after the release
// see the line held, the next one sees it released.
void SimCard::AdvanceSclHold() {
  if (!sclHold_.active) return;
  if (sclHold_.samplesLeft == 0) {
    sclHold_.active = false;
    HoldLine(Line::kScl, false);
  } else if (sclHold_.samplesLeft > 0) {
    --sclHold_.samplesLeft;
  }
}

int SimCard::WdmReadByte(int address, int* value) {
  BeginTransaction();
  if (faults_.Find(SIM_FAULT_WDM_READ_UNTOUCHED, transaction_)) return 0;
  if (const SimFault* fails =
          faults_.Find(SIM_FAULT_WDM_READ_FAILS, transaction_))
    return fails->value != 0 ? fails->value : 1;
  if (!value || faults_.WithholdsAck(transaction_, 0)) return 1;
  const int device = address & 0xFF;
  if (device == (RemoteReceiver::kAddress | 1))
    *value = receiver_.SendCode(true);
  else if (device == (FixedByteDevice::kAddress | 1))
    *value = FixedByteDevice::kValue;
  else
    return 1;
  return 0;
}

int SimCard::WdmWrite3(int address, int byte1, int byte2) {
  BeginTransaction();
  const int device = address & 0xFF;
  if (device != RemoteReceiver::kAddress && device != FixedByteDevice::kAddress)
    return 1;
  for (int byte = 0; byte < 3; ++byte)
    if (faults_.WithholdsAck(transaction_, byte)) return 1;
  if (device == RemoteReceiver::kAddress)
    receiver_.WriteRegister(byte1, byte2, true);
  return 0;
}

bool SimCard::WriteVcd(const std::string& path) const {
  const std::string text = trace_.Render();
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && written;
}

void SimCard::KeyRead(int code, bool viaWdm) {
  records_.keyReads.Add({code, viaWdm ? 1 : 0, clock_.NowUs()});
}

void SimCard::SoundWritten(int value, bool viaWdm) {
  records_.soundWrites.Add({value, viaWdm ? 1 : 0, clock_.NowUs()});
}

void SimCard::OnBusEvent(int type, int value, int ack) {
  const bool condition = type == SIM_EVENT_START || type == SIM_EVENT_STOP;
  records_.busEvents.Add(
      {type, value, ack, condition ? ReadEntryFlag() : -1, clock_.NowUs()});
}

}  // namespace sim
