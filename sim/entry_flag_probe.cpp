#include "entry_flag_probe.h"

#include <windows.h>

namespace sim {

int ReadEntryFlag() {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "dllmemfilemap");
  if (!mapping) return -1;
  int flag = -1;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(LONG));
  if (view) {
    flag = static_cast<int>(*static_cast<volatile LONG*>(view));
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return flag;
}

}  // namespace sim
