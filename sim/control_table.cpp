// SimGetControl's table and the byte-level exports for the simulated
// "wdmI2cDll.dll": thin functions that take the card's lock and ask the card.
#include "sim_instance.h"
#include "control_table.h"

namespace {

using sim::CardAccess;

void Reset() {
  CardAccess()->Reset();
}
void PressKey(int code) {
  CardAccess()->PressKey(code);
}
void ReleaseKey() {
  CardAccess()->ReleaseKey();
}
void PlayKeyScript(const SimKeyStep* steps, int count) {
  CardAccess()->PlayKeyScript(steps, count);
}
int HeldKey() {
  return CardAccess()->HeldKey();
}

int AddFault(const SimFault* fault) {
  return fault ? CardAccess()->AddFault(*fault) : -1;
}
void ClearFaults() {
  CardAccess()->ClearFaults();
}
int TransactionCount() {
  return CardAccess()->TransactionCount();
}

int GetCalls(SimCall* out, int capacity) {
  return CardAccess()->records().calls.CopyOut(out, capacity);
}
int GetBusEvents(SimBusEvent* out, int capacity) {
  return CardAccess()->records().busEvents.CopyOut(out, capacity);
}
int GetSoundWrites(SimSoundWrite* out, int capacity) {
  return CardAccess()->records().soundWrites.CopyOut(out, capacity);
}
int GetKeyReads(SimKeyRead* out, int capacity) {
  return CardAccess()->records().keyReads.CopyOut(out, capacity);
}
void ClearRecords() {
  CardAccess()->ClearRecords();
}

int ViolationCount() {
  return CardAccess()->violations().count();
}
// The text's storage lasts as long as the card.
const char* FirstViolation() {
  return CardAccess()->violations().first();
}

int Scl() {
  return CardAccess()->Scl();
}
int Sda() {
  return CardAccess()->Sda();
}
int SoundState() {
  return CardAccess()->SoundState();
}
int WriteVcd(const char* path) {
  return path && CardAccess()->WriteVcd(path) ? 0 : -1;
}
int64_t NowUs() {
  return CardAccess()->NowUs();
}
void SetTracing(int on) {
  CardAccess()->SetTracing(on != 0);
}

const SimControl kControl = {
    Reset,        PressKey,       ReleaseKey,     PlayKeyScript,
    HeldKey,      AddFault,       ClearFaults,    TransactionCount,
    GetCalls,     GetBusEvents,   GetSoundWrites, GetKeyReads,
    ClearRecords, ViolationCount, FirstViolation, Scl,
    Sda,          SoundState,     WriteVcd,       NowUs,
    SetTracing,
};
}  // namespace

extern "C" const SimControl* __cdecl SimGetControl(void) {
  return &kControl;
}

extern "C" int __cdecl SimWdmReadByte(int address, int* value) {
  return CardAccess()->WdmReadByte(address, value);
}

extern "C" int __cdecl SimWdmWrite3(int address, int byte1, int byte2) {
  return CardAccess()->WdmWrite3(address, byte1, byte2);
}
