// tandor.dll as the host loads it: by name, with the search order of
// LoadLibraryA (the program's folder first), through its one export.
#pragma once

#include <windows.h>

#include <string>

#include "remoteInterfaces.h"

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads the library and looks up "_GetInterfacePtr@0". Returns false and
  // says why in `why` when either fails.
  bool Load(std::string* why);
  std::string path() const;
  // Calls the export: a new object holding one reference, or null. May end
  // the process (the plug-in's fatal paths).
  IRemoteDevice* CreateObject() const { return getInterfacePtr_(); }

 private:
  HMODULE module_ = nullptr;
  GetInterfacePtrFn getInterfacePtr_ = nullptr;
};

// The full path of a module loaded in this process, or "" when it is not.
std::string LoadedModulePath(const char* name);
