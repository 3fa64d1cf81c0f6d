// tandor.dll loaded as a host loads it, and its objects made through its
// one export.
#pragma once

#include <windows.h>

#include <string>

#include "remoteInterfaces.h"

namespace harness {

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads `file` (a name, found in LoadLibraryA's search order with the
  // program's folder first, or a path) and looks up "_GetInterfacePtr@0".
  // Returns false and says why in `why` (when given) when either fails.
  bool Load(const std::string& file = "tandor.dll", std::string* why = nullptr);
  bool loaded() const { return getInterfacePtr_ != nullptr; }
  // Gives back the library, before the object goes if need be.
  void Unload();
  std::string path() const;
  // Calls the export: a new object holding one reference, or null (also
  // when nothing is loaded). May end the process (the plug-in's fatal
  // paths).
  IRemoteDevice* CreateObject() const {
    return getInterfacePtr_ ? getInterfacePtr_() : nullptr;
  }

 private:
  HMODULE module_ = nullptr;
  GetInterfacePtrFn getInterfacePtr_ = nullptr;
};

}  // namespace harness
