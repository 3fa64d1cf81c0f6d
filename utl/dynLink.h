// Binding to the capture chip's driver library.
//
// The DriverTable holds this process's handle of "BtVid_32.Dll" and one typed
// entry per driver function; an entry is null while the driver does not
// export that function (or while nothing is bound). The pass-through exports
// and the software I2C bit engine call the driver through it, in whichever
// calling convention the driver was built (foreignCall.h).
#pragma once

#include <windows.h>

#include "driverApi.h"
#include "foreignCall.h"

// Every member has a constant initial value, so that the table is ready
// before anything runs: there is no start-up code to run constructors.
struct DriverTable {
  HMODULE library = nullptr;
#define DRIVER_TABLE_ENTRY(name, group, result, params, args) \
  ForeignFunction<result params> name;
  DRIVER_FUNCTIONS(DRIVER_TABLE_ENTRY)
#undef DRIVER_TABLE_ENTRY
};

// This process's table; all null until InitDynamicLinkage binds it.
extern DriverTable g_driver;
