#include "plugin_library.h"

#include <stdio.h>

#include "files.h"

namespace harness {

bool PluginLibrary::Load(const std::string& file, std::string* why) {
  Unload();
  module_ = LoadLibraryA(file.c_str());
  if (!module_) {
    char error[32];
    snprintf(error, sizeof error, " (error %lu)", GetLastError());
    if (why) *why = "cannot load " + file + error;
    return false;
  }
  getInterfacePtr_ = reinterpret_cast<GetInterfacePtrFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, REMOTE_EXPORT_NAME)));
  if (!getInterfacePtr_) {
    if (why) *why = file + " has no export " REMOTE_EXPORT_NAME;
    return false;
  }
  return true;
}

void PluginLibrary::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  getInterfacePtr_ = nullptr;
}

std::string PluginLibrary::path() const {
  return module_ ? ModulePath(module_) : "";
}

}  // namespace harness
