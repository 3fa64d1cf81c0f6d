// BusDelay and its stand-in where the port reads are not allowed, or where
// they are so slow that they cannot be real (a compatibility layer that
// traps and emulates each `in`). Which of the two applies is found out once,
// at the first pause.

#include "busDelay.h"

#include <windows.h>

#include "portProbe.h"

namespace {

const int kPortReads = 10;
// What ten port reads take on the ISA-speed port 0x61.
const LONGLONG kPauseMicroseconds = 10;
// Ten reads slower than this are emulated, not done by the I/O bus.
const LONGLONG kSlowestRealReadsMicroseconds = 2 * kPauseMicroseconds;
// Timings taken of the ten reads; the fastest counts.
const int kReadTimings = 3;

enum PauseKind { kUnknown, kPortPause, kCounterPause };

// Set once. The ticks are stored before the kind, and both are volatile so
// that the compiler keeps that order: a thread that sees kCounterPause also
// sees the ticks.
volatile LONGLONG g_pauseTicks = 0;
volatile PauseKind g_pauseKind = kUnknown;

// The performance counter exists wherever the NT family runs (where the
// port reads fault); without one the wait ends at once.
LONGLONG TicksPerPause() {
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency)) return 0;
  LONGLONG ticks = frequency.QuadPart * kPauseMicroseconds / 1000000;
  return ticks > 0 ? ticks : 1;
}

void ReadPortTenTimes() {
  for (int i = 0; i < kPortReads; ++i) ReadPort61();
}

// Whether ten port reads take about as long as on real hardware. Without a
// performance counter they are taken as real.
bool PortReadsAreReal() {
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency)) return true;
  LONGLONG fastest = -1;
  for (int i = 0; i < kReadTimings; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    ReadPortTenTimes();
    QueryPerformanceCounter(&end);
    LONGLONG ticks = end.QuadPart - start.QuadPart;
    if (fastest < 0 || ticks < fastest) fastest = ticks;
  }
  return fastest * 1000000 <=
         kSlowestRealReadsMicroseconds * frequency.QuadPart;
}

// Every thread that asks first comes to the same answer, so a race here
// costs at most one more probe.
void ChoosePauseKind() {
  if (PortReadsAllowed() && PortReadsAreReal()) {
    g_pauseKind = kPortPause;
    return;
  }
  g_pauseTicks = TicksPerPause();
  g_pauseKind = kCounterPause;
}

void WaitTicks(LONGLONG ticks) {
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  do {
    QueryPerformanceCounter(&now);
  } while (now.QuadPart - start.QuadPart < ticks);
}

}  // namespace

void BusDelay() {
  if (g_pauseKind == kUnknown) ChoosePauseKind();
  if (g_pauseKind == kPortPause) {
    ReadPortTenTimes();
  } else {
    WaitTicks(g_pauseTicks);
  }
}
