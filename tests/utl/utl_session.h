// Tests' access to TandorUtl.dll and to the simulated card under it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "control_table.h"
#include "tandorUtl.h"
#include "testsupport.h"

namespace utltest {

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

// The exports of a loaded TandorUtl.dll, each null until looked up.
struct UtlApi {
#define UTL_API_MEMBER(name) decltype(&::name) name = nullptr;
  UTL_EXPORTS(UTL_API_MEMBER)
#undef UTL_API_MEMBER
};

// Message boxes as the tests compare them: "caption|text|icon=0|owner=0",
// with icon and owner 1 when the box has an icon or an owner window.
std::vector<std::string> Describe(const std::vector<testsupport::Box>& boxes);

// TandorUtl.dll from the bin folder, loaded for the life of the object
// (unless the load is refused or Unload comes first). The message boxes
// that the load shows are answered and kept (see Describe), so that an
// unexpected box fails a test instead of waiting for a user.
class Utl {
 public:
  Utl();
  ~Utl();
  Utl(const Utl&) = delete;
  Utl& operator=(const Utl&) = delete;

  bool loaded() const { return module_ != nullptr; }
  void Unload();
  // The exports; all of them are looked up at load.
  const UtlApi& api() const { return api_; }
  const UtlApi* operator->() const { return &api_; }
  const std::vector<std::string>& boxes() const { return boxes_; }

 private:
  HMODULE module_;
  UtlApi api_;
  std::vector<std::string> boxes_;
};

// The simulated driver (or one of its variants) loaded by the test itself,
// until Release or the end of the object.
class HeldDriver {
 public:
  explicit HeldDriver(const std::string& variant = "");
  ~HeldDriver() { Release(); }
  HeldDriver(const HeldDriver&) = delete;
  HeldDriver& operator=(const HeldDriver&) = delete;
  bool held() const { return module_ != nullptr; }
  void Release();

 private:
  HMODULE module_;
};

// The path of TandorUtl.dll in the bin folder.
std::string UtlPath();

// Runs the client program (utl_client.cpp) from the bin folder with
// `commands`.
testsupport::ProcessResult RunClient(const std::string& commands);

// Whether the driver library is loaded in this process (by any path).
bool DriverLoaded();
// Whether the shared region exists anywhere on the machine.
bool RegionExists();

using testsupport::Lines;

// Records of the simulated card.
std::vector<SimCall> Calls(const SimControl* card);
std::vector<SimBusEvent> BusEvents(const SimControl* card);

// A simulated driver call in a short notation: "scl=1" and "sda=0" for the
// line settings, "scl?1" and "sda?0" for the line samples with what they
// returned, "mode(6000)" for I2CInitSWMode, and name(args)->result for the
// rest. A result other than 0 of a line setting is shown as "scl=0->2".
std::string Notation(const SimCall& call);
// The notations of the calls, separated by spaces.
std::string Notation(const std::vector<SimCall>& calls);
// A bus event, e.g. "START", "OUT 97 ack", "IN 12 nack", "IN 5a noclock",
// "STOP".
std::string Notation(const std::vector<SimBusEvent>& events);

}  // namespace utltest
