// The entry flag: the first 32-bit word of the shared region. The library
// only stores and returns it; its clients give it a meaning. Each access is
// one aligned 32-bit store or load, so every process sees whole values and
// the later of two stores wins.

#include "sharedRegion.h"
#include "tandorUtl.h"

void TANDORUTL_CALL DlkSetEntryFlag(int value) {
  SharedRegionWords()[0] = value != 0 ? 1 : 0;
}

int TANDORUTL_CALL DlkGetEntryFlag(void) {
  return SharedRegionWords()[0];
}
