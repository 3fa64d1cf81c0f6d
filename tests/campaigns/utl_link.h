// TandorUtl.dll from the bin folder, loaded by the test itself, with the
// exports the campaigns call.
#pragma once

#include <windows.h>

#include "tandorUtl.h"

namespace campaign {

class UtlLink {
 public:
  UtlLink();
  ~UtlLink();
  UtlLink(const UtlLink&) = delete;
  UtlLink& operator=(const UtlLink&) = delete;

  // Loaded, and every export below found.
  bool ready() const;

  decltype(&::DlkI2CSWReadByte) readByte = nullptr;
  decltype(&::DlkI2CSWWrite3) write3 = nullptr;
  decltype(&::DlkI2CSWMultiWrite) multiWrite = nullptr;
  decltype(&::DlkGetEntryFlag) getEntryFlag = nullptr;

 private:
  HMODULE module_;
};

}  // namespace campaign
