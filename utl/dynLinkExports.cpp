// The Dlk pass-through exports: each hands its arguments unchanged to the
// driver function of the same name and returns the driver's result
// unchanged. While the entry is empty it calls nothing and returns a fixed
// value: 1, or 0 for DlkI2CIsInitOK, so that a caller never takes a missing
// I2C driver for an initialised one.

#include "dynLink.h"
#include "tandorUtl.h"

#define PASS_THROUGH(name, params, args, whenEmpty) \
  int TANDORUTL_CALL Dlk##name params {             \
    if (!g_driver.name) return whenEmpty;           \
    return g_driver.name args;                      \
  }

PASS_THROUGH(Bt848SetVideoSource, (int value), (value), 1)
PASS_THROUGH(Bt848GetVideoSource, (int value), (value), 1)
PASS_THROUGH(Bt848SetBrightness, (int value), (value), 1)
PASS_THROUGH(Bt848GetBrightness, (int value), (value), 1)
PASS_THROUGH(Bt848SetContrast, (int value), (value), 1)
PASS_THROUGH(Bt848GetContrast, (int value), (value), 1)
PASS_THROUGH(Bt848SetHue, (int value), (value), 1)
PASS_THROUGH(Bt848GetHue, (int value), (value), 1)
PASS_THROUGH(Bt848SetSaturation, (int value), (value), 1)
PASS_THROUGH(Bt848GetSaturation, (int value), (value), 1)
PASS_THROUGH(Bt848SetVideoFormat, (int value), (value), 1)
PASS_THROUGH(GetGPDATABits, (int a, int b, int c, int d), (a, b, c, d), 1)
PASS_THROUGH(GPIOIsInitOK, (void), (), 1)
PASS_THROUGH(I2CIsInitOK, (void), (), 0)
PASS_THROUGH(IsBt878Family, (void), (), 1)
PASS_THROUGH(Bt848SetCCStatus, (int value), (value), 1)
PASS_THROUGH(Bt848UnLoadImage, (void), (), 1)
PASS_THROUGH(I2CInitSWMode, (int mode), (mode), 1)

#undef PASS_THROUGH

// The one pass-through without a result: nothing happens while it is empty.
void TANDORUTL_CALL DlkSetGPIOMODE(int mode) {
  if (g_driver.SetGPIOMODE) g_driver.SetGPIOMODE(mode);
}
