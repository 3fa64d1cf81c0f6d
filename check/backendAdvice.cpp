// The advice for TandorUtl and "wdmI2cDll.dll".

#include "backendAdvice.h"

namespace {

const BackendAdvice kTandorUtlAdvice = {
    "Windows 95, 98, Me and Win32s", "BtVid_32.Dll",
    "%s not found.\n"
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
    "Tandor remote's package.\n"};

const BackendAdvice kWdmI2cAdvice = {
    "Windows 2000, XP, Server 2003", nullptr,
    "%s not found. Install the card's\n"
    "Windows 2000/XP driver package, or copy wdmI2cDll.dll into\n"
    "Mirabo's folder.\n",
    "%s did not load (%s).\n"
    "Reinstall the card's Windows 2000/XP driver package.\n",
    "%s lacks %s:\n"
    "it is of another version. Reinstall the card's Windows 2000/XP\n"
    "driver package.\n"};

}  // namespace

const BackendAdvice& AdviceFor(const BackendDescription& backend) {
  return &backend == &kTandorUtlBackend ? kTandorUtlAdvice : kWdmI2cAdvice;
}
