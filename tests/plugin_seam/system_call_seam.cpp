// The test build of the plug-in (tandor_seam.dll) is tandor.dll's own code
// with a few system calls that tests can make fail, by environment
// variables that a child process inherits:
//   TANDOR_TEST_VERSION_QUERY=refuse156   the version query refuses the
//                                         156-byte record
//   TANDOR_TEST_VERSION_QUERY=refuseall   it refuses every record
//   TANDOR_TEST_FAIL=alloc,event,thread   the process heap, the stop event
//                                         or the worker thread is refused
// The seam also lists the record sizes it was asked with, in order, in
// TANDOR_TEST_VERSION_SIZES (for example "156,148").
//
// The plug-in's code is not compiled for it: the seam takes the place of the
// import table's entries. The compiler calls an imported function through
// the pointer "__imp__<name>@<bytes>", which the linker takes from the
// import library only while no object file defines it; this file defines the
// four, so the plug-in's calls land here. The seam itself reaches the real
// functions through GetProcAddress.
#include <windows.h>

#include "textFormat.h"

namespace {

// kernel32's own `name`, as the import table would have bound it.
template <typename Function>
Function System(const char* name) {
  FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}
#define SYSTEM(name) System<decltype(&name)>(#name)

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

BOOL WINAPI SeamGetVersionExA(LPOSVERSIONINFOA info) {
  NoteRecordSize(info->dwOSVersionInfoSize);
  if (RefusesRecord(info->dwOSVersionInfoSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  return SYSTEM(GetVersionExA)(info);
}

HANDLE WINAPI SeamCreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manualReset,
                               BOOL initialState, LPCSTR name) {
  if (Fails("event")) return nullptr;
  return SYSTEM(CreateEventA)(security, manualReset, initialState, name);
}

HANDLE WINAPI SeamCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                               LPTHREAD_START_ROUTINE routine, LPVOID param,
                               DWORD flags, LPDWORD threadId) {
  if (Fails("thread")) return nullptr;
  return SYSTEM(CreateThread)(security, stackSize, routine, param, flags,
                              threadId);
}

LPVOID WINAPI SeamHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (Fails("alloc")) return nullptr;
  return SYSTEM(HeapAlloc)(heap, flags, bytes);
}

}  // namespace

// The import table's entries that the plug-in calls through.
extern "C" {
decltype(&GetVersionExA) seamGetVersionExA __asm__("__imp__GetVersionExA@4") =
    SeamGetVersionExA;
decltype(&CreateEventA) seamCreateEventA __asm__("__imp__CreateEventA@16") =
    SeamCreateEventA;
decltype(&CreateThread) seamCreateThread __asm__("__imp__CreateThread@24") =
    SeamCreateThread;
decltype(&HeapAlloc) seamHeapAlloc __asm__("__imp__HeapAlloc@12") =
    SeamHeapAlloc;
}
