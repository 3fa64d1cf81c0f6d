// The test build of the plug-in (tandor_seam.dll) routes a few system calls
// through functions that tests can make fail, by environment variables that
// a child process inherits:
//   TANDOR_TEST_VERSION_QUERY=refuse156   the version query refuses the
//                                         156-byte record
//   TANDOR_TEST_VERSION_QUERY=refuseall   it refuses every record
//   TANDOR_TEST_FAIL=alloc,event,thread   the process heap, the stop event
//                                         or the worker thread is refused
// The seam also lists the record sizes it was asked with, in order, in
// TANDOR_TEST_VERSION_SIZES (for example "156,148").
// The delivered tandor.dll is built without it: there the names below are
// the system's own.
#pragma once

#include <windows.h>

#ifdef TANDOR_TEST_SEAM

BOOL WINAPI SeamGetVersionExA(LPOSVERSIONINFOA info);
HANDLE WINAPI SeamCreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manualReset,
                               BOOL initialState, LPCSTR name);
HANDLE WINAPI SeamCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                               LPTHREAD_START_ROUTINE routine, LPVOID param,
                               DWORD flags, LPDWORD threadId);
LPVOID WINAPI SeamHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);

#define GetVersionExA SeamGetVersionExA
#define CreateEventA SeamCreateEventA
#define CreateThread SeamCreateThread
#define HeapAlloc SeamHeapAlloc

#endif
