// InitDynamicLinkage and FreeDynamicLinkage: loading the driver library,
// looking up its functions and checking that each group of them is complete.

#include "dynLink.h"

#include "tandorUtl.h"

DriverTable g_driver;

namespace {

// What the user is told when a check group lacks a function.
const char* const kGroupMessages[kDriverCheckGroupCount] = {
    "Can't load software I2C function!",      // kGroupSoftwareI2c
    "Can't load hardware I2C function!",      // kGroupHardwareI2c
    "Can't load GPIO function!",              // kGroupGpio
    "Can't load Video function!",             // kGroupVideo
    "Can't load CloseCaption function!",      // kGroupClosedCaption
    "Can't load Bt848UnLoadImage function!",  // kGroupUnloadImage
    "Can't load ChipID function!",            // kGroupChipId
};

// LoadLibrary's old failure convention: handles up to 32 are error codes.
bool IsLoadedModule(HMODULE module) {
  return reinterpret_cast<UINT_PTR>(module) > 32;
}

// Looks every driver function up by its exact name, in binding order; a
// name the driver does not export leaves its entry null.
void BindEntries(HMODULE library) {
#define BIND_ENTRY(name, group, result, params, args) \
  g_driver.name = decltype(g_driver.name)(GetProcAddress(library, #name));
  DRIVER_FUNCTIONS(BIND_ENTRY)
#undef BIND_ENTRY
}

void EmptyEntries() {
#define EMPTY_ENTRY(name, group, result, params, args) g_driver.name = nullptr;
  DRIVER_FUNCTIONS(EMPTY_ENTRY)
#undef EMPTY_ENTRY
}

// The first check group, in test order, that has an empty entry, or
// kDriverCheckGroupCount when every group is complete.
int FirstIncompleteGroup() {
  bool incomplete[kDriverCheckGroupCount] = {};
#define NOTE_EMPTY_ENTRY(name, group, result, params, args) \
  if (!g_driver.name) incomplete[group] = true;
  DRIVER_FUNCTIONS(NOTE_EMPTY_ENTRY)
#undef NOTE_EMPTY_ENTRY
  int group = 0;
  while (group < kDriverCheckGroupCount && !incomplete[group]) ++group;
  return group;
}

void ReportIncompleteGroup(int group) {
  MessageBoxA(nullptr, kGroupMessages[group], "Error", MB_ICONERROR);
}

// The table owns one reference to the driver library. A repeated
// InitDynamicLinkage gets the same module again; its older reference is
// dropped so that FreeDynamicLinkage, which releases once, really lets go.
void KeepLibrary(HMODULE library) {
  if (g_driver.library) FreeLibrary(g_driver.library);
  g_driver.library = library;
}

}  // namespace

int TANDORUTL_CALL InitDynamicLinkage(void) {
  HMODULE library = LoadLibraryA(DRIVER_LIBRARY_NAME);
  if (!IsLoadedModule(library)) return 0;
  KeepLibrary(library);
  BindEntries(library);
  int group = FirstIncompleteGroup();
  if (group != kDriverCheckGroupCount) {
    ReportIncompleteGroup(group);
    return 0;
  }
  return 1;
}

// Once the library is released its functions may be gone from the process,
// so the entries are emptied with it: a pass-through export called later
// returns its fixed result instead of jumping into freed code.
void TANDORUTL_CALL FreeDynamicLinkage(void) {
  if (!g_driver.library) return;
  FreeLibrary(g_driver.library);
  g_driver.library = nullptr;
  EmptyEntries();
}
