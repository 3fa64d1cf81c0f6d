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

bool Loaded() {
  return g_utl && g_utl->loaded();
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

// Each command, and whether it takes an operand.
const struct {
  const char* name;
  bool operand;
  void (*run)(const char* operand);
} kCommands[] = {
    {"load", false,
     [](const char*) {
       delete g_utl;
       g_utl = new harness::UtlLibrary("TandorUtl.dll");
       for (const harness::Box& box : g_utl->boxes())
         printf("box %s\n", harness::Summary(box).c_str());
       printf(g_utl->loaded() ? "loaded\n" : "refused\n");
     }},
    {"unload", false,
     [](const char*) {
       delete g_utl;
       g_utl = nullptr;
     }},
    {"get", false,
     [](const char*) {
       printf("flag=%d\n", Loaded() ? g_utl->api().DlkGetEntryFlag() : -1);
     }},
    {"set", true,
     [](const char* value) {
       if (Loaded()) g_utl->api().DlkSetEntryFlag(atoi(value));
     }},
    {"state", false,
     [](const char*) {
       printf("region=%d driver=%d\n", sim::EntryRegionExists() ? 1 : 0,
              GetModuleHandleA(DRIVER_LIBRARY_NAME) ? 1 : 0);
     }},
    {"end-detach", false,
     [](const char*) {
       if (!Loaded()) return;
       HMODULE module = GetModuleHandleA("TandorUtl.dll");
       int processEnding = 1;  // any non-null pointer
       printf("detach=%d\n",
              EntryPointOf(module)(module, DLL_PROCESS_DETACH, &processEnding));
     }},
    {"signal", true,
     [](const char* name) {
       HANDLE event = CreateEventA(nullptr, TRUE, FALSE, name);
       SetEvent(event);
       CloseHandle(event);
     }},
    {"wait", true,
     [](const char* name) {
       HANDLE event = CreateEventA(nullptr, TRUE, FALSE, name);
       if (WaitForSingleObject(event, 20000) != WAIT_OBJECT_0)
         printf("timeout\n");
       CloseHandle(event);
     }},
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* command = argv[i];
    const char* operand = i + 1 < argc ? argv[i + 1] : "";
    bool known = false;
    for (const auto& each : kCommands) {
      if (strcmp(command, each.name) != 0) continue;
      known = true;
      i += each.operand;
      each.run(operand);
    }
    if (!known) {
      printf("unknown command %s\n", command);
      return 2;
    }
    fflush(stdout);
  }
  return 0;
}
