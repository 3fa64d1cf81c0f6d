// The keys of the remote control: the code the receiver reports for each,
// and the name and label that the host receives.
#pragma once

#include <stdint.h>

struct KeyBinding {
  int32_t code;
  char name[32];   // zero-terminated, zero-filled
  char label[32];  // zero-terminated, often empty
};

// The Tandor remote's 30 keys, codes 0 to 31 in ascending order (21 and 28
// have no key). Constant for the life of the process.
extern const KeyBinding kTandorKeys[];
const int kTandorKeyCount = 30;

// The first of the `count` rows whose code is `code`, or null.
const KeyBinding* FindKeyBinding(const KeyBinding* table, int count, int code);
