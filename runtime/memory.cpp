// The memory functions that the compiler may call on its own (to clear or
// copy a structure) and that our code uses, for binaries that link no C
// runtime. Plain byte loops: the blocks are a few hundred bytes at most.
//
// This file is compiled with -fno-builtin and without loop-pattern
// recognition (see CMakeLists.txt), or the compiler would turn each loop
// back into a call of the function it implements.

#include <stddef.h>

extern "C" {

void* memset(void* destination, int value, size_t count) {
  unsigned char* to = static_cast<unsigned char*>(destination);
  while (count--) *to++ = static_cast<unsigned char>(value);
  return destination;
}

void* memcpy(void* destination, const void* source, size_t count) {
  unsigned char* to = static_cast<unsigned char*>(destination);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  while (count--) *to++ = *from++;
  return destination;
}

void* memmove(void* destination, const void* source, size_t count) {
  unsigned char* to = static_cast<unsigned char*>(destination);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  if (to < from) {
    while (count--) *to++ = *from++;
  } else {
    while (count--) to[count] = from[count];
  }
  return destination;
}

int memcmp(const void* first, const void* second, size_t count) {
  const unsigned char* a = static_cast<const unsigned char*>(first);
  const unsigned char* b = static_cast<const unsigned char*>(second);
  for (; count--; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
  }
  return 0;
}

size_t strlen(const char* text) {
  const char* end = text;
  while (*end) ++end;
  return static_cast<size_t>(end - text);
}

}  // extern "C"
