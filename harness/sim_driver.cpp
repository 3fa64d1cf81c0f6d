#include "sim_driver.h"

#include "files.h"

namespace harness {

namespace {

const char kDriverName[] = "BtVid_32.Dll";

const SimControl* ControlOf(HMODULE driver) {
  if (!driver) return nullptr;
  auto get = reinterpret_cast<SimGetControlFn>(
      reinterpret_cast<void*>(GetProcAddress(driver, "SimGetControl")));
  return get ? get() : nullptr;
}

}  // namespace

const SimControl* SimCard() {
  return ControlOf(GetModuleHandleA(kDriverName));
}

HMODULE LoadSimDriver(const std::string& variant) {
  return LoadLibraryA(BinFile(kDriverName, variant).c_str());
}

bool SimDriver::Load(const std::string& variant) {
  Release();
  module_ = LoadSimDriver(variant);
  card_ = ControlOf(module_);
  return module_ != nullptr;
}

bool SimDriver::HoldLoaded() {
  Release();
  HMODULE loaded = GetModuleHandleA(kDriverName);
  std::string path = loaded ? ModulePath(loaded) : "";
  module_ = path.empty() ? nullptr : LoadLibraryA(path.c_str());
  card_ = ControlOf(module_);
  return module_ != nullptr;
}

void SimDriver::Release() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  card_ = nullptr;
}

}  // namespace harness
