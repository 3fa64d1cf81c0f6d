#include "utl_binding.h"

namespace harness {

UtlLibrary::UtlLibrary(const std::string& file) {
  BoxAnswerer answerer;
  module_ = LoadLibraryA(file.c_str());
  boxes_ = answerer.boxes();
  if (!module_) return;
#define UTL_API_LOOKUP(name)                       \
  api_.name = reinterpret_cast<decltype(&::name)>( \
      reinterpret_cast<void*>(GetProcAddress(module_, #name)));
  UTL_EXPORTS(UTL_API_LOOKUP)
#undef UTL_API_LOOKUP
}

bool UtlLibrary::complete() const {
  bool found = loaded();
#define UTL_API_FOUND(name) found = found && api_.name != nullptr;
  UTL_EXPORTS(UTL_API_FOUND)
#undef UTL_API_FOUND
  return found;
}

void UtlLibrary::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  api_ = UtlApi();
}

}  // namespace harness
