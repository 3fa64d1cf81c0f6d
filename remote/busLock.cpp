// The process-wide bus lock; busLock.h says why it is built this way.
#include "busLock.h"

#include <windows.h>

namespace {

const DWORD kContendedPauseMs = 1;

LONG busLock = 0;  // 1 while an operation holds the bus

}  // namespace

void AcquireBusLock() {
  while (__atomic_exchange_n(&busLock, 1, __ATOMIC_ACQUIRE) != 0)
    Sleep(kContendedPauseMs);
}

void ReleaseBusLock() {
  __atomic_store_n(&busLock, 0, __ATOMIC_RELEASE);
}
