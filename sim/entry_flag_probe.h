// Reads the entry flag that TandorUtl keeps in the shared region
// "dllmemfilemap", the way another process would: the card at every start
// and stop condition, the tests and the benchmark. The one reader of it.
#pragma once

#include <windows.h>

namespace sim {

// The 32-bit word at offset 0 of the region, or -1 when the region does not
// exist. The region is opened, read and closed again at once, so that the
// reader never keeps it alive.
int ReadEntryFlag();

// Whether the region exists anywhere on the machine.
bool EntryRegionExists();

// The region held open for the life of the object, so that the flag can be
// read after the library that made the region is gone. With kCreate the
// region is made when it does not exist yet (a page, as TandorUtl makes
// it), so that it is there before any library is loaded, and mapped for
// writing, as another process that shares it would.
class HeldEntryRegion {
 public:
  enum Opening { kOpenExisting, kCreate };
  explicit HeldEntryRegion(Opening opening = kOpenExisting);
  ~HeldEntryRegion();
  HeldEntryRegion(const HeldEntryRegion&) = delete;
  HeldEntryRegion& operator=(const HeldEntryRegion&) = delete;
  bool open() const { return mapping_ != nullptr; }
  // The flag now, -1 when the region could not be opened.
  int value() const { return mapping_ ? ReadEntryFlag() : -1; }
  // With kCreate, the region's words; otherwise (or unmapped) null.
  volatile LONG* words() const { return words_; }

 private:
  HANDLE mapping_;
  volatile LONG* words_ = nullptr;
};

}  // namespace sim
