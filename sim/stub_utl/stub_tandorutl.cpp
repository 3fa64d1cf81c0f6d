// Test fixture, not the card utility library: a "tandorutl.dll" that lacks
// DlkGetEntryFlag, so that tests can drive the plug-in into its "can't
// import from TandorUtl" path. The three other functions that the plug-in
// binds exist only so that DlkGetEntryFlag is the one missing; they do
// nothing and report failure.
#define TANDORUTL_BUILD
#include "tandorUtl.h"

TANDORUTL_API int TANDORUTL_CALL DlkI2CSWReadByte(int, unsigned char*) {
  return 1;
}

TANDORUTL_API int TANDORUTL_CALL DlkI2CSWWrite3(int, int, int) {
  return 1;
}

TANDORUTL_API void TANDORUTL_CALL DlkSetEntryFlag(int) {}
