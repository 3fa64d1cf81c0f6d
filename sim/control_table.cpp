// SimGetControl's table and the byte-level exports for the simulated
// "wdmI2cDll.dll": thin functions that take the card's lock and ask the card.
#include "sim_instance.h"
#include "control_table.h"

namespace {

using sim::CardAccess;

// The table's order is SimControl's.
const SimControl kControl = {
    [] { CardAccess()->Reset(); },
    [](int code) { CardAccess()->PressKey(code); },
    [] { CardAccess()->ReleaseKey(); },
    [](const SimKeyStep* steps, int count) {
      CardAccess()->PlayKeyScript(steps, count);
    },
    [] { return CardAccess()->HeldKey(); },
    [](const SimFault* fault) {
      return fault ? CardAccess()->AddFault(*fault) : -1;
    },
    [] { CardAccess()->ClearFaults(); },
    [] { return CardAccess()->TransactionCount(); },
    [](SimCall* out, int capacity) {
      return CardAccess()->records().calls.CopyOut(out, capacity);
    },
    [](SimBusEvent* out, int capacity) {
      return CardAccess()->records().busEvents.CopyOut(out, capacity);
    },
    [](SimSoundWrite* out, int capacity) {
      return CardAccess()->records().soundWrites.CopyOut(out, capacity);
    },
    [](SimKeyRead* out, int capacity) {
      return CardAccess()->records().keyReads.CopyOut(out, capacity);
    },
    [] { CardAccess()->ClearRecords(); },
    [] { return CardAccess()->violations().count(); },
    [] { return CardAccess()->violations().first(); },
    [] { return CardAccess()->Scl(); },
    [] { return CardAccess()->Sda(); },
    [] { return CardAccess()->SoundState(); },
    [](const char* path) {
      return path && CardAccess()->WriteVcd(path) ? 0 : -1;
    },
    [] { return CardAccess()->NowUs(); },
    [](int on) { CardAccess()->SetTracing(on != 0); },
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
