// The simulated card, reached through the control table of the simulated
// "BtVid_32.Dll" loaded in this process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "control_table.h"

namespace harness {

// The control table of the simulated card loaded in this process, or null
// when no simulated driver is loaded.
const SimControl* SimCard();

// Loads the simulated driver from the bin folder, or the variant of that
// name from bin\variants\<variant>\, and returns its module (one reference
// that the caller releases).
HMODULE LoadSimDriver(const std::string& variant = "");

// The simulated driver held loaded by us, so that the card, its clock and
// its records outlive every library that loads and releases the driver by
// name (TandorUtl, and through it the plug-in's bus back end).
class SimDriver {
 public:
  SimDriver() = default;
  ~SimDriver() { Release(); }
  SimDriver(const SimDriver&) = delete;
  SimDriver& operator=(const SimDriver&) = delete;

  // Loads it as LoadSimDriver does.
  bool Load(const std::string& variant = "");
  // Holds the driver that is loaded already (the one the back end loaded),
  // by its path.
  bool HoldLoaded();
  bool held() const { return module_ != nullptr; }
  void Release();
  // The card's control table, null when the held driver has none.
  const SimControl* card() const { return card_; }

 private:
  HMODULE module_ = nullptr;
  const SimControl* card_ = nullptr;
};

// Every entry of one of the simulated card's records, in order: pass the
// table's Get function, e.g. Records(card->GetCalls).
template <typename Entry>
std::vector<Entry> Records(int(__cdecl* get)(Entry*, int)) {
  std::vector<Entry> entries(static_cast<size_t>(get(nullptr, 0)));
  // A record that grew in between is cut to the room given.
  size_t count = get(entries.data(), static_cast<int>(entries.size()));
  entries.resize(std::min(count, entries.size()));
  return entries;
}

}  // namespace harness
