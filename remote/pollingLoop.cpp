// The worker thread's loop: follows the host's main window with the card's
// sound, reads the receiver once a cycle and hands every key code to the
// sink, pacing a held key by the two key delays.
#include <windows.h>

#include "pollingLoop.h"

#include "busBackend.h"
#include "receiverAccess.h"
#include "settingsLog.h"
#include "tandorRemote.h"

namespace {

// A reading that gave no key: the receiver had none down (it answered
// kReceiverNoKeyAnswer), or the reading failed.
const int kNoKeyReading = -1;

struct PollState {
  int lastKey = kNoKeyReading;
  int pollDelayMs = kFirstPollDelayMs;  // a setting's value: may be negative
  bool soundIsOn = false;
};

// A negative delay means no pause.
DWORD PauseLength(int delayMs) {
  return delayMs > 0 ? static_cast<DWORD>(delayMs) : 0;
}

void SwitchSoundOn(PollState& state) {
  LogMessage("> Find Mirabo Window. Sound is ON.\n");
  Sleep(kSoundSwitchPauseMs);
  SoundOn();
  state.soundIsOn = true;
}

void SwitchSoundOff(PollState& state) {
  LogMessage("> Lost Mirabo Window. Sound is OFF.\n");
  Sleep(kSoundSwitchPauseMs);
  SoundOff();
  state.soundIsOn = false;
}

void FollowHostWindow(PollState& state) {
  bool present = IsHostWindowPresent();
  if (present && !state.soundIsOn) {
    SwitchSoundOn(state);
  } else if (!present && state.soundIsOn) {
    SwitchSoundOff(state);
  }
}

// The key code of one reading of the receiver, or kNoKeyReading. Where the back
// end's read result tells a failed read (TandorUtl), both modes of the
// reading (UseAcorpCompMode on or off) take it, so that a receiver that does
// not answer never turns the untouched code into a key. Logs every code it
// returns.
int ReadKeyCode() {
  ReceiverReading reading = ReadReceiver();
  bool failed = TheBusBackend().description->readResultTellsFailure &&
                reading.status != 0;
  if (reading.code == kReceiverNoKeyAnswer || failed) return kNoKeyReading;
  LogMessage("> Pressed key code %d\n", reading.code);
  return reading.code;
}

// The pause before the next reading: KeyFirstDelay after a new key,
// KeyRepeatDelay after a repeated one. A reading without a key keeps the
// pause as it is.
void NoteKey(PollState& state, int code) {
  if (code == state.lastKey) {
    state.pollDelayMs = KeyRepeatDelay();
  } else {
    state.lastKey = code;
    state.pollDelayMs = KeyFirstDelay();
  }
}

// LeaveSoundOnExit counts only while the host window is there.
void LeaveSoundAsAsked(const PollState& state) {
  if (!IsHostWindowPresent()) {
    SoundOff();
  } else if (state.soundIsOn && !LeaveSoundOnExit()) {
    Sleep(kSoundSwitchPauseMs);
    SoundOff();
  }
}

}  // namespace

// Only a window of this process counts: another host application running
// beside ours, with its own card, must not switch our card's sound.
bool IsHostWindowPresent() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, kHostWindowClass,
                                 kHostWindowTitle)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId()) return true;
  }
  return false;
}

void TandorRemote::Run() {
  PollState state;
  if (IsHostWindowPresent()) SwitchSoundOn(state);
  while (!StopRequested(0)) {
    // The pause ends early when a stop is asked for, so that Stop returns
    // promptly whatever the delays are.
    if (StopRequested(PauseLength(state.pollDelayMs))) break;
    FollowHostWindow(state);
    int code = ReadKeyCode();
    if (code == kNoKeyReading) {
      state.lastKey = kNoKeyReading;
      continue;
    }
    NoteKey(state, code);
    DispatchKey(code);
  }
  LogMessage("> Break event received. Bye!..\n");
  LeaveSoundAsAsked(state);
  ReleaseBusBackend();
}
