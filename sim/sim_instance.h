// The one simulated card of the process that has loaded the simulated
// driver, and the lock that guards it: the driver may be called from a
// plug-in's worker thread while a test's thread reads records or presses
// keys.
#pragma once

#include "sim_card.h"

namespace sim {

// At load: creates the card, applies the SIMCARD environment variable.
void CreateInstance();
// At unload: writes the trace that SIMCARD asked for, destroys the card.
void DestroyInstance();

// Holds the card's lock while it exists.
class CardAccess {
 public:
  CardAccess();
  ~CardAccess();
  CardAccess(const CardAccess&) = delete;
  CardAccess& operator=(const CardAccess&) = delete;

  SimCard* operator->() const { return card_; }

 private:
  SimCard* card_;
};

}  // namespace sim
