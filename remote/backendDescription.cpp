// The descriptions of TandorUtl and "wdmI2cDll.dll".

#include "backendDescription.h"

// The texts are the plug-in's own, as existing logs and their readers know
// them, misspellings included ("inmort"). TandorUtl is loaded by its
// lower-case name, but the messages have always called it "TandorUtl.DLL".
const BackendDescription kTandorUtlBackend = {
    "tandorutl.dll",
    "DlkI2CSWReadByte",
    "DlkI2CSWWrite3",
    "DlkGetEntryFlag",
    "DlkSetEntryFlag",
    /*drivesLines=*/true,
    /*readResultTellsFailure=*/true,
    {"> Loading tandorutl.dll ...",
     "\n> Error during loading ... Can't load TandorUtl.DLL",
     "Error during loading ...\n Can't load TandorUtl.DLL",
     "> Error during inmort ... Can't import from TandorUtl.DLL",
     "Error during inmort ...\nCan't import from TandorUtl.DLL"}};

// "wdmI2cDll.dll" comes with the card's driver package for Windows 2000 and
// XP; the plug-in has never relied on its read's result.
const BackendDescription kWdmI2cBackend = {
    "wdmI2cDll.dll",
    "readByte",
    "write3byte",
    nullptr,
    nullptr,
    /*drivesLines=*/false,
    /*readResultTellsFailure=*/false,
    {"> Loading wdmI2cDll.dll ...",
     "\n> Error during loading ... Can't load wdmI2cDll.dll",
     "Error during loading ...\n Can't load wdmI2cDll.dll",
     "> Error during inmort ... Can't import from wdmI2cDll.dll",
     "Error during inmort ...\nCan't import from wdmI2cDll.dll"}};

const BackendDescription* BackendFor(PlatformClass platformClass) {
  switch (platformClass) {
    case kPlatformWin32s:
    case kPlatformWindows9x:
      return &kTandorUtlBackend;
    case kPlatformNt5:
      return &kWdmI2cBackend;
    case kPlatformUnsupported:
    case kPlatformNt4:
      return nullptr;
  }
  return nullptr;
}
