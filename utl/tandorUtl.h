// TandorUtl's exports: plain functions exported by name with the C calling
// convention (__cdecl, undecorated names); arguments and results are 32-bit
// integers. Clients load the library by name and look the functions up; the
// declarations and pointer types here serve them and the library itself.
#pragma once

#ifdef TANDORUTL_BUILD
#define TANDORUTL_API extern "C" __declspec(dllexport)
#else
#define TANDORUTL_API extern "C" __declspec(dllimport)
#endif

// The calling convention of every export. Only a test build of the library
// (TandorUtl built with __stdcall, which clients must cope with as they
// cope with the driver's convention) defines it otherwise.
#ifndef TANDORUTL_CALL
#define TANDORUTL_CALL __cdecl
#endif

// Driver binding and pass-through exports.
TANDORUTL_API int TANDORUTL_CALL InitDynamicLinkage(void);
TANDORUTL_API void TANDORUTL_CALL FreeDynamicLinkage(void);

TANDORUTL_API int TANDORUTL_CALL DlkBt848SetVideoSource(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848GetVideoSource(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetBrightness(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848GetBrightness(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetContrast(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848GetContrast(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetHue(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848GetHue(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetSaturation(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848GetSaturation(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetVideoFormat(int value);
TANDORUTL_API int TANDORUTL_CALL DlkGetGPDATABits(int a, int b, int c, int d);
TANDORUTL_API int TANDORUTL_CALL DlkGPIOIsInitOK(void);
TANDORUTL_API void TANDORUTL_CALL DlkSetGPIOMODE(int mode);
TANDORUTL_API int TANDORUTL_CALL DlkI2CIsInitOK(void);
TANDORUTL_API int TANDORUTL_CALL DlkIsBt878Family(void);
TANDORUTL_API int TANDORUTL_CALL DlkBt848SetCCStatus(int value);
TANDORUTL_API int TANDORUTL_CALL DlkBt848UnLoadImage(void);
TANDORUTL_API int TANDORUTL_CALL DlkI2CInitSWMode(int mode);

// Software I2C transactions: 0 for success, 1 for failure.
TANDORUTL_API int TANDORUTL_CALL DlkI2CSWReadByte(int address,
                                                  unsigned char* value);
TANDORUTL_API int TANDORUTL_CALL DlkI2CSWWrite3(int address, int subaddress,
                                                int value);
TANDORUTL_API int TANDORUTL_CALL DlkI2CSWMultiWrite(int address, int subaddress,
                                                    const unsigned char* data,
                                                    int count);

// The entry flag shared by every process that has the library loaded.
TANDORUTL_API void TANDORUTL_CALL DlkSetEntryFlag(int value);
TANDORUTL_API int TANDORUTL_CALL DlkGetEntryFlag(void);

// Name of the shared region that holds the entry flag.
#define TANDORUTL_REGION_NAME "dllmemfilemap"
