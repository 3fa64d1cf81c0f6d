#include "sim_instance.h"

#include <windows.h>

#include "sim_settings.h"

namespace sim {
namespace {

CRITICAL_SECTION g_lock;
SimCard* g_card = nullptr;
std::string g_vcdAtUnload;  // SIMCARD's vcd=, "" for none

}  // namespace

void CreateInstance() {
  InitializeCriticalSection(&g_lock);
  g_card = new SimCard();
  char text[4096];  // a longer SIMCARD is ignored whole
  const DWORD length = GetEnvironmentVariableA(SIMCARD_ENV, text, sizeof text);
  const SimSettings settings = ParseSimSettings(
      length < sizeof text ? std::string(text, length) : std::string());
  for (const std::string& rejected : settings.rejected) {
    const std::string report = "BtVid_32 (simulated): ignoring " SIMCARD_ENV
                               " setting \"" +
                               rejected + "\"\n";
    OutputDebugStringA(report.c_str());
  }
  g_card->Apply(settings);
  g_vcdAtUnload = settings.vcdPath;
}

// Runs at unload, when no other thread may be inside the driver any more
// (at process exit the other threads are gone), so it takes no lock.
void DestroyInstance() {
  if (!g_vcdAtUnload.empty()) g_card->WriteVcd(g_vcdAtUnload);
  delete g_card;
  g_card = nullptr;
  DeleteCriticalSection(&g_lock);
}

CardAccess::CardAccess() : card_(g_card) {
  EnterCriticalSection(&g_lock);
}

CardAccess::~CardAccess() {
  LeaveCriticalSection(&g_lock);
}

}  // namespace sim
