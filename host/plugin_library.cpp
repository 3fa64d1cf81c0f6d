#include "plugin_library.h"

#include <stdio.h>

PluginLibrary::~PluginLibrary() {
  if (module_) FreeLibrary(module_);
}

bool PluginLibrary::Load(std::string* why) {
  module_ = LoadLibraryA("tandor.dll");
  if (!module_) {
    char text[64];
    snprintf(text, sizeof text, "cannot load tandor.dll (error %lu)",
             GetLastError());
    *why = text;
    return false;
  }
  getInterfacePtr_ = reinterpret_cast<GetInterfacePtrFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, REMOTE_EXPORT_NAME)));
  if (!getInterfacePtr_) {
    *why = "tandor.dll has no export " REMOTE_EXPORT_NAME;
    return false;
  }
  return true;
}

std::string PluginLibrary::path() const {
  char path[MAX_PATH] = "";
  if (module_) GetModuleFileNameA(module_, path, sizeof path);
  return path;
}

std::string LoadedModulePath(const char* name) {
  HMODULE module = GetModuleHandleA(name);
  char path[MAX_PATH] = "";
  if (module) GetModuleFileNameA(module, path, sizeof path);
  return path;
}
