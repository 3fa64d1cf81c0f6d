// The worker thread's loop: follows the host's main window with the card's
// sound, reads the receiver once a cycle and hands every key code to the
// sink, pacing a held key by the two key delays.
#include <windows.h>

#include "busBackend.h"
#include "receiverAccess.h"
#include "settingsLog.h"
#include "tandorRemote.h"

namespace {

const int kFirstPollDelay = 20;  // ms, until the first key is read
const DWORD kSoundSwitchPause = 500;

// A reading without a key: none down, or a reading that failed.
const int kNoKey = -1;

struct PollState {
  int lastKey = kNoKey;
  int pollDelay = kFirstPollDelay;
  bool soundIsOn = false;
};

// A negative delay means no pause.
DWORD PauseLength(int delay) {
  return delay > 0 ? static_cast<DWORD>(delay) : 0;
}

void SwitchSoundOn(PollState& state) {
  LogMessage("> Find Mirabo Window. Sound is ON.\n");
  Sleep(kSoundSwitchPause);
  SoundOn();
  state.soundIsOn = true;
}

void SwitchSoundOff(PollState& state) {
  LogMessage("> Lost Mirabo Window. Sound is OFF.\n");
  Sleep(kSoundSwitchPause);
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

// The key code of one reading of the receiver, or kNoKey. Where the back
// end's read result tells a failed read (TandorUtl), both modes of the
// reading (UseAcorpCompMode on or off) take it, so that a receiver that does
// not answer never turns the untouched code into a key. Logs every code it
// returns.
int ReadKeyCode() {
  ReceiverReading reading = ReadReceiver();
  bool failed = TheBusBackend().description->readResultTellsFailure &&
                reading.status != 0;
  if (reading.code == kNoKeyCode || failed) return kNoKey;
  LogMessage("> Pressed key code %d\n", reading.code);
  return reading.code;
}

// The pause before the next reading: KeyFirstDelay after a new key,
// KeyRepeatDelay after a repeated one. A reading without a key keeps the
// pause as it is.
void NoteKey(PollState& state, int code) {
  if (code == state.lastKey) {
    state.pollDelay = KeyRepeatDelay();
  } else {
    state.lastKey = code;
    state.pollDelay = KeyFirstDelay();
  }
}

// LeaveSoundOnExit counts only while the host window is there.
void LeaveSoundAsAsked(const PollState& state) {
  if (!IsHostWindowPresent()) {
    SoundOff();
  } else if (state.soundIsOn && !LeaveSoundOnExit()) {
    Sleep(kSoundSwitchPause);
    SoundOff();
  }
}

}  // namespace

// Only a window of this process counts: another host application running
// beside ours, with its own card, must not switch our card's sound.
bool IsHostWindowPresent() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "MiraboMainWindow",
                                 "Mirabo")) != nullptr) {
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
    if (StopRequested(PauseLength(state.pollDelay))) break;
    FollowHostWindow(state);
    int code = ReadKeyCode();
    if (code == kNoKey) {
      state.lastKey = kNoKey;
      continue;
    }
    NoteKey(state, code);
    DispatchKey(code);
  }
  LogMessage("> Break event received. Bye!..\n");
  LeaveSoundAsAsked(state);
  ReleaseBusBackend();
}
