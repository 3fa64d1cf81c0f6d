// Creating, mapping and releasing the shared region. It lives in the paging
// file and exists while any process holds a handle or a view of it.

#include "sharedRegion.h"

#include "tandorUtl.h"

namespace {

const DWORD kRegionSize = 0x1000;

HANDLE g_mapping = nullptr;
void* g_view = nullptr;

}  // namespace

RegionOpening OpenSharedRegion() {
  g_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                 0, kRegionSize, TANDORUTL_REGION_NAME);
  // Read at once: the next system call may change the last error.
  DWORD error = GetLastError();
  if (!g_mapping) return kRegionFailed;
  return error == ERROR_ALREADY_EXISTS ? kRegionOpened : kRegionCreated;
}

bool MapSharedRegion() {
  g_view = MapViewOfFile(g_mapping, FILE_MAP_WRITE, 0, 0, 0);
  return g_view != nullptr;
}

void ZeroSharedRegion() {
  ZeroMemory(g_view, kRegionSize);
}

void ReleaseSharedRegion() {
  if (g_view) {
    UnmapViewOfFile(g_view);
    g_view = nullptr;
  }
  if (g_mapping) {
    CloseHandle(g_mapping);
    g_mapping = nullptr;
  }
}

volatile LONG* SharedRegionWords() {
  return static_cast<volatile LONG*>(g_view);
}
