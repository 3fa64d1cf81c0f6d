#include "utl_link.h"

#include "testsupport.h"

namespace campaign {
namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

UtlLink::UtlLink()
    : module_(LoadLibraryA((testsupport::ExeDir() + "TandorUtl.dll").c_str())) {
  readByte = Lookup<decltype(readByte)>(module_, "DlkI2CSWReadByte");
  write3 = Lookup<decltype(write3)>(module_, "DlkI2CSWWrite3");
  multiWrite = Lookup<decltype(multiWrite)>(module_, "DlkI2CSWMultiWrite");
  getEntryFlag = Lookup<decltype(getEntryFlag)>(module_, "DlkGetEntryFlag");
}

UtlLink::~UtlLink() {
  if (module_) FreeLibrary(module_);
}

bool UtlLink::ready() const {
  return readByte && write3 && multiWrite && getEntryFlag;
}

}  // namespace campaign
