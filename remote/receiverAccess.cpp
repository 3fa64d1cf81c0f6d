// The receiver's sound sequences and its reading, each in bus turns.

#include "receiverAccess.h"

#include <windows.h>

#include "busBackend.h"
#include "busLock.h"

namespace {

const int kSoundRegister = 2;
const int kSoundOnValue = 0x20;
const int kSoundOffFirstValue = 0x10;
const int kSoundOffSecondValue = 0x40;
// The pauses of a switching-off phase: between its two writes, and after
// them before the bus is given up.
const DWORD kSoundOffRepeatPause = 20;
const DWORD kSoundOffSettlePause = 1;

bool WriteSound(int value) {
  return TheBusBackend().writeThree(kReceiverWriteAddress, kSoundRegister,
                                    value) == 0;
}

// One bracketed phase of switching the sound off: the value is written
// twice, in case the receiver missed the first write.
bool SoundOffPhase(int value) {
  BusTurn turn;
  bool first = WriteSound(value);
  Sleep(kSoundOffRepeatPause);
  bool second = WriteSound(value);
  Sleep(kSoundOffSettlePause);
  return first && second;
}

}  // namespace

void SetEntryFlag(int value) {
  SetEntryFlagFn set = TheBusBackend().setEntryFlag;
  if (set) set(value);
}

BusTurn::BusTurn() {
  AcquireBusLock();
  SetEntryFlag(1);
}

BusTurn::~BusTurn() {
  SetEntryFlag(0);
  ReleaseBusLock();
}

bool SoundOn() {
  BusTurn turn;
  return WriteSound(kSoundOnValue);
}

bool SoundOff() {
  bool first = SoundOffPhase(kSoundOffFirstValue);
  bool second = SoundOffPhase(kSoundOffSecondValue);
  return first && second;
}

ReceiverReading ReadReceiver() {
  ReceiverReading reading = {0, 0};
  BusTurn turn;
  reading.status =
      TheBusBackend().readByte(kReceiverReadAddress, &reading.code);
  return reading;
}
