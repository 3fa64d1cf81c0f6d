// One lock for the whole process around the receiver's bus traffic: the
// host may start several objects, and two workers driving the lines at once
// interleave their frames (keys nobody pressed, lost sound writes).
//
// A test-and-set on a 32-bit word that starts at zero: the library has no
// entry point in which to set up anything else, nor one to free it in at
// unload; Windows 95 lacks InitOnce and InterlockedCompareExchange, and a
// 486 has no 64-bit atomics. A waiter sleeps 1 ms between tries: bus
// operations last milliseconds, and Sleep(1), unlike Sleep(0), lets a holder
// of lower priority run.
#pragma once

void AcquireBusLock();
void ReleaseBusLock();
