// The descriptions of TandorUtl and "wdmI2cDll.dll".

#include "backendDescription.h"

// TandorUtl is loaded by its lower-case name, but the plug-in's messages
// have always called it "TandorUtl.DLL".
const BackendDescription kTandorUtlBackend = {
    "tandorutl.dll",
    "DlkI2CSWReadByte",
    "DlkI2CSWWrite3",
    "DlkGetEntryFlag",
    "DlkSetEntryFlag",
    /*drivesLines=*/true,
    /*readResultTellsFailure=*/true,
    "BtVid_32.Dll",
    "Windows 95, 98, Me and Win32s",
    {"> Loading tandorutl.dll ...",
     "\n> Error during loading ... Can't load TandorUtl.DLL",
     "Error during loading ...\n Can't load TandorUtl.DLL",
     "> Error during inmort ... Can't import from TandorUtl.DLL",
     "Error during inmort ...\nCan't import from TandorUtl.DLL"},
    {"%s not found.\n"
     "Copy tandorcheck.exe into Mirabo's folder, where TandorUtl.dll\n"
     "lies, and run it there.\n",
     "%s refused to load; its message box said why.\n"
     "After \"Init DLL error!\" (and a \"Can't load ... function!\"\n"
     "box) the card's driver %s\n"
     "is too old: install the card's own driver.\n"
     "After \"Init I2C error!\" the card was not found: check it in\n"
     "the Device Manager and restart Windows.\n",
     "%s lacks %s:\n"
     "it is damaged or of another version. Copy it again from the\n"
     "Tandor remote's package.\n"}};

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
    nullptr,
    "Windows 2000, XP, Server 2003",
    {"> Loading wdmI2cDll.dll ...",
     "\n> Error during loading ... Can't load wdmI2cDll.dll",
     "Error during loading ...\n Can't load wdmI2cDll.dll",
     "> Error during inmort ... Can't import from wdmI2cDll.dll",
     "Error during inmort ...\nCan't import from wdmI2cDll.dll"},
    {"%s not found. Install the card's\n"
     "Windows 2000/XP driver package, or copy wdmI2cDll.dll into\n"
     "Mirabo's folder.\n",
     "%s did not load (%s).\n"
     "Reinstall the card's Windows 2000/XP driver package.\n",
     "%s lacks %s:\n"
     "it is of another version. Reinstall the card's Windows 2000/XP\n"
     "driver package.\n"}};

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
