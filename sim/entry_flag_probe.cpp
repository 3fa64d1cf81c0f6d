#include "entry_flag_probe.h"

#include "tandorUtl.h"

namespace sim {
namespace {

HANDLE OpenRegion() {
  return OpenFileMappingA(FILE_MAP_READ, FALSE, TANDORUTL_REGION_NAME);
}

}  // namespace

int ReadEntryFlag() {
  HANDLE mapping = OpenRegion();
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

bool EntryRegionExists() {
  HANDLE mapping = OpenRegion();
  if (mapping) CloseHandle(mapping);
  return mapping != nullptr;
}

HeldEntryRegion::HeldEntryRegion(Opening opening)
    : mapping_(opening == kCreate
                   ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr,
                                        PAGE_READWRITE, 0, 4096,
                                        TANDORUTL_REGION_NAME)
                   : OpenRegion()) {
  if (opening == kCreate && mapping_)
    words_ = static_cast<volatile LONG*>(
        MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
}

HeldEntryRegion::~HeldEntryRegion() {
  if (words_) UnmapViewOfFile(const_cast<LONG*>(words_));
  if (mapping_) CloseHandle(mapping_);
}

}  // namespace sim
