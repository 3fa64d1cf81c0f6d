#include "key_printer.h"

#include "text.h"

using harness::Quoted;

HRESULT __stdcall KeyPrinter::OnKey(const char* name, const char* label) {
  InterlockedIncrement(keyCount_);
  console::Event(clock_.NowMs(), "OnKey(%s, %s)",
                 Quoted(name ? name : "(null)").c_str(),
                 Quoted(label ? label : "(null)").c_str());
  return S_OK;
}

void HostObjects::ReleaseOwn() {
  if (!sinkTally.destroyed) sink->Release();
  if (!applicationTally.destroyed) application->Release();
}
