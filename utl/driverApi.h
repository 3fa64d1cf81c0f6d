// The capture chip's driver library, "BtVid_32.Dll", as TandorUtl sees it.
//
// Every driver function is exported under an undecorated name; arguments
// and results are 32-bit integers. Whether the driver uses the C calling
// convention (__cdecl) or __stdcall is not known, so TandorUtl calls it in a
// way that works with both (foreignCall.h). TandorUtl binds the functions by
// name at run time and never links against the driver.
#pragma once

// The 42 driver functions in binding order, with the check group that
// requires each one, the result type, the parameter list and the argument
// list that a forwarding wrapper passes on.
//
//   X(name, group, result, params, args)
//
// The parameter lists of the functions that TandorUtl only requires (and
// never calls) are the driver's own business; the simulated card gives
// them the shapes listed here.
#define DRIVER_FUNCTIONS(X)                                                \
  X(Bt848SetVideoSource, kGroupVideo, int, (int a), (a))                   \
  X(Bt848GetVideoSource, kGroupVideo, int, (int a), (a))                   \
  X(Bt848SetBrightness, kGroupVideo, int, (int a), (a))                    \
  X(Bt848GetBrightness, kGroupVideo, int, (int a), (a))                    \
  X(Bt848SetContrast, kGroupVideo, int, (int a), (a))                      \
  X(Bt848GetContrast, kGroupVideo, int, (int a), (a))                      \
  X(Bt848SetHue, kGroupVideo, int, (int a), (a))                           \
  X(Bt848GetHue, kGroupVideo, int, (int a), (a))                           \
  X(Bt848SetSaturation, kGroupVideo, int, (int a), (a))                    \
  X(Bt848GetSaturation, kGroupVideo, int, (int a), (a))                    \
  X(Bt848PreChannelChange, kGroupVideo, int, (void), ())                   \
  X(Bt848ChannelChanged, kGroupVideo, int, (void), ())                     \
  X(Bt848SetVideoFormat, kGroupVideo, int, (int a), (a))                   \
  X(SetGPOEBit, kGroupGpio, int, (int a, int b), (a, b))                   \
  X(SetGPOE, kGroupGpio, int, (int a), (a))                                \
  X(SetGPDATABits, kGroupGpio, int, (int a, int b), (a, b))                \
  X(SetGPIE, kGroupGpio, int, (int a), (a))                                \
  X(GetGPDATABits, kGroupGpio, int, (int a, int b, int c, int d),          \
    (a, b, c, d))                                                          \
  X(GPIOIsInitOK, kGroupGpio, int, (void), ())                             \
  X(SetGPIOMODE, kGroupGpio, void, (int a), (a))                           \
  X(I2CIsInitOK, kGroupSoftwareI2c, int, (void), ())                       \
  X(I2CInitHWMode, kGroupHardwareI2c, int, (int a), (a))                   \
  X(I2CHWRead, kGroupHardwareI2c, int, (int a, int b), (a, b))             \
  X(I2CHWWrite2, kGroupHardwareI2c, int, (int a, int b), (a, b))           \
  X(I2CHWWrite3, kGroupHardwareI2c, int, (int a, int b, int c), (a, b, c)) \
  X(I2CHWMultiWrite, kGroupHardwareI2c, int, (int a, int b, int c, int d), \
    (a, b, c, d))                                                          \
  X(I2CHWMultiRead, kGroupHardwareI2c, int, (int a, int b, int c, int d),  \
    (a, b, c, d))                                                          \
  X(I2CInitSWMode, kGroupSoftwareI2c, int, (int a), (a))                   \
  X(I2CSWRead, kGroupSoftwareI2c, int, (int a), (a))                       \
  X(I2CSWWrite, kGroupSoftwareI2c, int, (int a), (a))                      \
  X(I2CSWStart, kGroupSoftwareI2c, int, (void), ())                        \
  X(I2CSWStop, kGroupSoftwareI2c, int, (void), ())                         \
  X(I2CSWSendACK, kGroupSoftwareI2c, int, (void), ())                      \
  X(I2CSWSendNACK, kGroupSoftwareI2c, int, (void), ())                     \
  X(I2CSWSetSCL, kGroupSoftwareI2c, int, (int a), (a))                     \
  X(I2CSWSetSDA, kGroupSoftwareI2c, int, (int a), (a))                     \
  X(I2CSWReadSDA, kGroupSoftwareI2c, int, (void), ())                      \
  X(I2CSWReadSCL, kGroupSoftwareI2c, int, (void), ())                      \
  X(I2CSetSync, kGroupSoftwareI2c, int, (int a), (a))                      \
  X(IsBt878Family, kGroupChipId, int, (void), ())                          \
  X(Bt848SetCCStatus, kGroupClosedCaption, int, (int a), (a))              \
  X(Bt848UnLoadImage, kGroupUnloadImage, int, (void), ())

// Index of each driver function in binding order: kDrv_Bt848SetVideoSource
// is 0, kDrv_Bt848UnLoadImage is 41.
enum DriverFunction {
#define DRIVER_FUNCTION_INDEX(name, group, result, params, args) kDrv_##name,
  DRIVER_FUNCTIONS(DRIVER_FUNCTION_INDEX)
#undef DRIVER_FUNCTION_INDEX
      kDriverFunctionCount
};

// The check groups, in the order in which a load tests them.
enum DriverCheckGroup {
  kGroupSoftwareI2c,
  kGroupHardwareI2c,
  kGroupGpio,
  kGroupVideo,
  kGroupClosedCaption,
  kGroupUnloadImage,
  kGroupChipId,
  kDriverCheckGroupCount
};

#define DRIVER_LIBRARY_NAME "BtVid_32.Dll"
