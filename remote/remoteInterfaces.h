// The interfaces between the remote-control plug-in and its host
// application. Every interface operation uses __stdcall, as COM does; the
// first word of each object points to its table of operations.
#pragma once

#include <windows.h>
#include <unknwn.h>

// {F4660300-7706-11D3-B64E-00105ACB7FD0}
static const GUID IID_IRemoteDevice = {
    0xF4660300,
    0x7706,
    0x11D3,
    {0xB6, 0x4E, 0x00, 0x10, 0x5A, 0xCB, 0x7F, 0xD0}};

// The host's main application object. The plug-in holds a reference to it
// while started and calls nothing else on it.
struct IRemoteHost : public IUnknown {};

// Receives the key events of a started plug-in, on the plug-in's worker
// thread. The strings belong to the plug-in.
struct IKeyEventSink : public IUnknown {
  virtual HRESULT __stdcall OnKey(const char* name, const char* label) = 0;
};

// The plug-in object as the host sees it.
struct IRemoteDevice : public IUnknown {
  virtual HRESULT __stdcall Start(IKeyEventSink* sink, IRemoteHost* host) = 0;
  virtual HRESULT __stdcall Stop() = 0;
  virtual void __stdcall Reserved() = 0;
};

// The plug-in's one export, "_GetInterfacePtr@0".
typedef IRemoteDevice*(__stdcall* GetInterfacePtrFn)(void);
#define REMOTE_EXPORT_NAME "_GetInterfacePtr@0"
