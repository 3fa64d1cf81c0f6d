// A client process of TandorUtl for the tests that need a second process or
// a folder of their own. It runs the commands on its command line in order
// and reports on standard output, one line each:
//   load          loads TandorUtl.dll by name, answering its message boxes;
//                 prints "box <caption>|<text>|icon=<0|1>|owner=<0|1>" for
//                 each box, then "loaded" or "refused"
//   unload        unloads it
//   get           prints "flag=<DlkGetEntryFlag()>"
//   set <n>       DlkSetEntryFlag(n)
//   state         prints "region=<0|1> driver=<0|1>": whether the shared
//                 region exists and whether the driver library is loaded
//   end-detach    calls the library's entry point as the system does when
//                 the process ends (process detach, third argument
//                 non-null); prints "detach=<its result>"
//   signal <name> sets the named event (created if need be)
//   wait <name>   waits at most 20 s for the named event; "timeout" if not
// Exit status 0, or 2 for a command it does not know.

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driverApi.h"
#include "entry_flag_probe.h"
#include "harness.h"

namespace {

// The library loaded by "load", until "unload".
harness::UtlLibrary* g_utl = nullptr;

void Load() {
  delete g_utl;
  g_utl = new harness::UtlLibrary("TandorUtl.dll");
  for (const harness::Box& box : g_utl->boxes())
    printf("box %s\n", harness::Summary(box).c_str());
  printf(g_utl->loaded() ? "loaded\n" : "refused\n");
}

void Unload() {
  delete g_utl;
  g_utl = nullptr;
}

bool Loaded() {
  return g_utl && g_utl->loaded();
}

void PrintFlag() {
  auto get = Loaded() ? g_utl->api().DlkGetEntryFlag : nullptr;
  printf("flag=%d\n", get ? get() : -1);
}

void SetFlag(int value) {
  auto set = Loaded() ? g_utl->api().DlkSetEntryFlag : nullptr;
  if (set) set(value);
}

typedef BOOL(WINAPI* EntryPoint)(HINSTANCE, DWORD, LPVOID);

// The entry point of the loaded library, from its PE header.
EntryPoint EntryPointOf(HMODULE module) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(base + nt->OptionalHeader.AddressOfEntryPoint));
}

void DetachAsAtProcessEnd() {
  if (!Loaded()) return;
  HMODULE module = GetModuleHandleA("TandorUtl.dll");
  int processEnding = 1;  // any non-null pointer
  BOOL result =
      EntryPointOf(module)(module, DLL_PROCESS_DETACH, &processEnding);
  printf("detach=%d\n", result);
}

void PrintState() {
  bool region = sim::EntryRegionExists();
  bool driver = GetModuleHandleA(DRIVER_LIBRARY_NAME) != nullptr;
  printf("region=%d driver=%d\n", region ? 1 : 0, driver ? 1 : 0);
}

HANDLE Event(const char* name) {
  return CreateEventA(nullptr, TRUE, FALSE, name);
}

void Signal(const char* name) {
  HANDLE event = Event(name);
  SetEvent(event);
  CloseHandle(event);
}

void Wait(const char* name) {
  HANDLE event = Event(name);
  if (WaitForSingleObject(event, 20000) != WAIT_OBJECT_0) printf("timeout\n");
  CloseHandle(event);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* command = argv[i];
    const char* operand = i + 1 < argc ? argv[i + 1] : "";
    if (strcmp(command, "load") == 0) {
      Load();
    } else if (strcmp(command, "unload") == 0) {
      Unload();
    } else if (strcmp(command, "get") == 0) {
      PrintFlag();
    } else if (strcmp(command, "set") == 0) {
      SetFlag(atoi(operand));
      ++i;
    } else if (strcmp(command, "state") == 0) {
      PrintState();
    } else if (strcmp(command, "end-detach") == 0) {
      DetachAsAtProcessEnd();
    } else if (strcmp(command, "signal") == 0) {
      Signal(operand);
      ++i;
    } else if (strcmp(command, "wait") == 0) {
      fflush(stdout);
      Wait(operand);
      ++i;
    } else {
      printf("unknown command %s\n", command);
      return 2;
    }
    fflush(stdout);
  }
  return 0;
}
