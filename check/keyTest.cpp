// The key test's readings and the lines they give.

#include "keyTest.h"

#include "backendCheck.h"
#include "keyTable.h"
#include "output.h"
#include "pollingLoop.h"
#include "receiverAccess.h"

namespace {

struct Tally {
  int readings = 0;
  int keys = 0;  // keys that appeared, each held key once
  int failed = 0;
};

// What the lines so far have left open: the key held since its line and
// how often it was read again, and the failed readings in a row. A failed
// reading says nothing of the key, so it leaves a held key held.
struct Open {
  bool held = false;
  int heldCode = 0;
  int repeats = 0;
  int failedInARow = 0;
};

// "  12.34 s  " for the time since the test began.
void PrintTime(TextOutput& out, DWORD elapsedMs) {
  PrintLabel(out, "");
  Print(out, "%4u.%02u s  ", static_cast<unsigned>(elapsedMs / 1000),
        static_cast<unsigned>(elapsedMs % 1000 / 10));
}

void PrintKey(TextOutput& out, DWORD elapsedMs, int code) {
  PrintTime(out, elapsedMs);
  const KeyBinding* key = FindKeyBinding(kTandorKeys, kTandorKeyCount, code);
  if (key) {
    Print(out, "%3d %s %s\n", code, key->name, key->label);
  } else {
    Print(out, "%3d is no key of this remote\n", code);
  }
}

void CloseFailedRun(TextOutput& out, DWORD elapsedMs, Open& open) {
  if (open.failedInARow > 1) {
    PrintTime(out, elapsedMs);
    int more = open.failedInARow - 1;
    Print(out, "    %d more failed reading%s\n", more, more == 1 ? "" : "s");
  }
  open.failedInARow = 0;
}

void CloseHeldKey(TextOutput& out, DWORD elapsedMs, Open& open) {
  if (open.held) {
    PrintTime(out, elapsedMs);
    Print(out, "    released after %d repeat%s\n", open.repeats,
          open.repeats == 1 ? "" : "s");
  }
  open.held = false;
  open.repeats = 0;
}

void Note(TextOutput& out, DWORD elapsedMs, const ReceiverReading& reading,
          Open& open, Tally& tally) {
  ++tally.readings;
  if (reading.status != 0) {
    ++tally.failed;
    if (++open.failedInARow == 1) {
      PrintTime(out, elapsedMs);
      Print(out, "    failed reading: the receiver did not answer\n");
    }
    return;
  }
  CloseFailedRun(out, elapsedMs, open);
  if (open.held && reading.code == open.heldCode) {
    ++open.repeats;
    return;
  }
  CloseHeldKey(out, elapsedMs, open);
  if (reading.code == kReceiverNoKeyAnswer) return;
  ++tally.keys;
  PrintKey(out, elapsedMs, reading.code);
  open.held = true;
  open.heldCode = reading.code;
}

}  // namespace

CheckStatus RunKeyTest(TextOutput& out, DWORD seconds) {
  PrintLabel(out, "Key test:");
  Print(out, "press some keys on the remote now (%u seconds)\n",
        static_cast<unsigned>(seconds));
  Tally tally;
  Open open;
  DWORD start = GetTickCount();
  DWORD elapsed = 0;
  while ((elapsed = GetTickCount() - start) < seconds * 1000) {
    Note(out, elapsed, ReadReceiver(), open, tally);
    Sleep(kFirstPollDelayMs);  // the plug-in's pace before the first key
  }
  CloseFailedRun(out, elapsed, open);
  CloseHeldKey(out, elapsed, open);
  PrintLabel(out, "");
  Print(out, "%d readings, %d key%s, %d failed\n", tally.readings, tally.keys,
        tally.keys == 1 ? "" : "s", tally.failed);
  if (tally.failed == 0) return kAllWorked;
  PrintLabel(out, "");
  Print(out,
        "the receiver did not %s." CHECK_MORE
        "Check the receiver's cable to the card.\n",
        tally.failed == tally.readings ? "answer" : "always answer");
  return kReceiverSilent;
}
