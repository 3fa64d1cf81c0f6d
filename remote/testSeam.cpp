// Only in tandor_seam.dll, never in the delivered plug-in.
#include <windows.h>

#include "testSeam.h"
#include "textFormat.h"

#undef GetVersionExA
#undef CreateEventA
#undef CreateThread
#undef HeapAlloc

namespace {

// The value of environment variable `name`, "" when it is not set.
void ReadVariable(const char* name, char* value, DWORD size) {
  DWORD length = GetEnvironmentVariableA(name, value, size);
  if (length == 0 || length >= size) value[0] = '\0';
}

bool Contains(const char* text, const char* part) {
  for (; *text; ++text) {
    int i = 0;
    while (part[i] && text[i] == part[i]) ++i;
    if (!part[i]) return true;
  }
  return false;
}

bool Fails(const char* what) {
  char value[128];
  ReadVariable("TANDOR_TEST_FAIL", value, sizeof value);
  return Contains(value, what);
}

bool RefusesRecord(DWORD size) {
  char value[64];
  ReadVariable("TANDOR_TEST_VERSION_QUERY", value, sizeof value);
  if (lstrcmpA(value, "refuseall") == 0) return true;
  return lstrcmpA(value, "refuse156") == 0 && size == 156;
}

void NoteRecordSize(DWORD size) {
  char sizes[256];
  ReadVariable("TANDOR_TEST_VERSION_SIZES", sizes, sizeof sizes);
  int used = lstrlenA(sizes);
  FormatInto(sizes + used, static_cast<int>(sizeof sizes) - used, "%s%u",
             used ? "," : "", static_cast<unsigned>(size));
  SetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", sizes);
}

}  // namespace

BOOL WINAPI SeamGetVersionExA(LPOSVERSIONINFOA info) {
  NoteRecordSize(info->dwOSVersionInfoSize);
  if (RefusesRecord(info->dwOSVersionInfoSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  return GetVersionExA(info);
}

HANDLE WINAPI SeamCreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manualReset,
                               BOOL initialState, LPCSTR name) {
  if (Fails("event")) return nullptr;
  return CreateEventA(security, manualReset, initialState, name);
}

HANDLE WINAPI SeamCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                               LPTHREAD_START_ROUTINE routine, LPVOID param,
                               DWORD flags, LPDWORD threadId) {
  if (Fails("thread")) return nullptr;
  return CreateThread(security, stackSize, routine, param, flags, threadId);
}

LPVOID WINAPI SeamHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (Fails("alloc")) return nullptr;
  return HeapAlloc(heap, flags, bytes);
}
