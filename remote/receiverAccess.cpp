#include "receiverAccess.h"

#include <windows.h>

#include "busBackend.h"
#include "busLock.h"
#include "platformDetection.h"
#include "settingsLog.h"

namespace {

const int kWriteAddress = 0x96;
const int kReadAddress = 0x97;
const int kSoundRegister = 2;
const int kSoundOnValue = 0x20;
const int kSoundOffFirstValue = 0x10;
const int kSoundOffSecondValue = 0x40;
const int kNoKeyCode = 0xAA;  // the receiver's answer when no key is down

// One operation's bus traffic (one phase of SoundOff): the objects of this
// process take turns on the bus, and other processes see the entry flag
// raised for its length.
class BusTurn {
 public:
  BusTurn() {
    AcquireBusLock();
    SetEntryFlag(1);
  }
  ~BusTurn() {
    SetEntryFlag(0);
    ReleaseBusLock();
  }
  BusTurn(const BusTurn&) = delete;
  BusTurn& operator=(const BusTurn&) = delete;
};

void WriteSound(int value) {
  TheBusBackend().writeThree(kWriteAddress, kSoundRegister, value);
}

// One bracketed phase of switching the sound off: the value is written
// twice, in case the receiver missed the first write.
void SoundOffPhase(int value) {
  BusTurn turn;
  WriteSound(value);
  Sleep(20);
  WriteSound(value);
  Sleep(1);
}

// The read's result: 0 for success. "wdmI2cDll.dll" has no entry flag and
// its read result is not looked at.
int ReadReceiver(int* code) {
  BusTurn turn;
  const BusBackend& backend = TheBusBackend();
  if (CurrentPlatformClass() == kPlatformNt5) {
    backend.readByte(kReadAddress, code);
    return 0;
  }
  // On TandorUtl both modes of the reading (UseAcorpCompMode on or off)
  // take the read's own result, so that a receiver that does not answer
  // never turns the untouched code into a key.
  return backend.readByte(kReadAddress, code);
}

}  // namespace

void SetEntryFlag(int value) {
  SetEntryFlagFn set = TheBusBackend().setEntryFlag;
  if (set) set(value);
}

void SoundOn() {
  BusTurn turn;
  WriteSound(kSoundOnValue);
}

void SoundOff() {
  SoundOffPhase(kSoundOffFirstValue);
  SoundOffPhase(kSoundOffSecondValue);
}

int ReadKeyCode() {
  int code = 0;  // TandorUtl fills only its low byte
  int status = ReadReceiver(&code);
  if (code == kNoKeyCode) return kNoKey;
  if (status != 0) return kNoKey;
  LogMessage("> Pressed key code %d\n", code);
  return code;
}
