// The remote-control receiver on the card's I2C bus, which also switches
// the card's sound. Every operation goes through the bound bus back end,
// holds the process's bus lock (busLock.h) for the length of its bus traffic
// and, on TandorUtl, the shared entry flag at 1 as well. The plug-in calls
// them on the worker thread of a started object; the check tool calls them
// too.
#pragma once

// The receiver's address bytes, and what it answers a reading when no key
// is down.
const int kReceiverWriteAddress = 0x96;
const int kReceiverReadAddress = 0x97;
const int kReceiverNoKeyAnswer = 0xAA;

// Calls the back end's set-entry-flag function when it has one.
void SetEntryFlag(int value);

// One operation's turn on the bus, for the life of the object: the objects
// of this process take turns, and other processes see the entry flag
// raised for its length.
class BusTurn {
 public:
  BusTurn();
  ~BusTurn();
  BusTurn(const BusTurn&) = delete;
  BusTurn& operator=(const BusTurn&) = delete;
};

// The sound sequences. True when the back end reported every write done;
// the plug-in does not look, and repeats nothing beyond the sequence.
bool SoundOn();
// Two bracketed phases, each writing its value twice 20 ms apart.
bool SoundOff();

// One reading of the receiver: the read's own result (0 for success) and
// the code variable, set to 0 before the read (TandorUtl fills only its low
// byte).
struct ReceiverReading {
  int status;
  int code;
};
ReceiverReading ReadReceiver();
