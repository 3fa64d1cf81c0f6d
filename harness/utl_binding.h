// TandorUtl.dll loaded by a test or a tool of ours, with every export bound
// by name, as a client of the library binds it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "message_boxes.h"
#include "tandorUtl.h"

namespace harness {

// Every export of TandorUtl, by name.
// clang-format off
#define UTL_EXPORTS(X)      \
  X(InitDynamicLinkage)     \
  X(FreeDynamicLinkage)     \
  X(DlkBt848SetVideoSource) \
  X(DlkBt848GetVideoSource) \
  X(DlkBt848SetBrightness)  \
  X(DlkBt848GetBrightness)  \
  X(DlkBt848SetContrast)    \
  X(DlkBt848GetContrast)    \
  X(DlkBt848SetHue)         \
  X(DlkBt848GetHue)         \
  X(DlkBt848SetSaturation)  \
  X(DlkBt848GetSaturation)  \
  X(DlkBt848SetVideoFormat) \
  X(DlkGetGPDATABits)       \
  X(DlkGPIOIsInitOK)        \
  X(DlkSetGPIOMODE)         \
  X(DlkI2CIsInitOK)         \
  X(DlkIsBt878Family)       \
  X(DlkBt848SetCCStatus)    \
  X(DlkBt848UnLoadImage)    \
  X(DlkI2CInitSWMode)       \
  X(DlkI2CSWReadByte)       \
  X(DlkI2CSWWrite3)         \
  X(DlkI2CSWMultiWrite)     \
  X(DlkSetEntryFlag)        \
  X(DlkGetEntryFlag)
// clang-format on

// The exports of a loaded TandorUtl.dll, each null until found.
struct UtlApi {
#define UTL_API_MEMBER(name) decltype(&::name) name = nullptr;
  UTL_EXPORTS(UTL_API_MEMBER)
#undef UTL_API_MEMBER
};

// TandorUtl.dll, loaded for the life of the object (unless the load is
// refused or Unload comes first). The message boxes that the load shows are
// answered and kept, so that an unexpected box fails a test instead of
// waiting for a user.
class UtlLibrary {
 public:
  // `file`: a path, or a name found in LoadLibraryA's search order.
  explicit UtlLibrary(const std::string& file);
  ~UtlLibrary() { Unload(); }
  UtlLibrary(const UtlLibrary&) = delete;
  UtlLibrary& operator=(const UtlLibrary&) = delete;

  bool loaded() const { return module_ != nullptr; }
  // Loaded, with every export found.
  bool complete() const;
  void Unload();
  // The exports; all of them are looked up at load.
  const UtlApi& api() const { return api_; }
  const UtlApi* operator->() const { return &api_; }
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  HMODULE module_;
  UtlApi api_;
  std::vector<Box> boxes_;
};

}  // namespace harness
