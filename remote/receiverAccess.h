// The remote-control receiver on the card's I2C bus, which also switches
// the card's sound. Every operation goes through the bound bus back end,
// holds the process's bus lock (busLock.h) for the length of its bus traffic
// and, on TandorUtl, the shared entry flag at 1 as well. Called only on the
// worker thread of a started object.
#pragma once

// Calls the back end's set-entry-flag function when it has one.
void SetEntryFlag(int value);

void SoundOn();
// Two bracketed phases, each writing its value twice 20 ms apart.
void SoundOff();

// No key down, or a reading that failed.
const int kNoKey = -1;

// The key code the receiver reports, or kNoKey. Logs every code it returns.
int ReadKeyCode();
