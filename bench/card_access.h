// The simulated card under the benchmark. The simulated driver is loaded
// once and held for the whole run, so that the card, its clock and its
// records outlive every library that loads and releases the driver by name
// (TandorUtl, and through it the plug-in's bus back end).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "control_table.h"

class HeldCard {
 public:
  HeldCard() = default;
  ~HeldCard();
  HeldCard(const HeldCard&) = delete;
  HeldCard& operator=(const HeldCard&) = delete;

  // Loads the simulated driver from the program's folder and resets the
  // card, its line trace off; false, with the reason in `why`, when that
  // fails.
  bool Load(std::string* why);
  const SimControl* operator->() const { return control_; }
  const SimControl* get() const { return control_; }

 private:
  HMODULE module_ = nullptr;
  const SimControl* control_ = nullptr;
};

std::vector<SimCall> Calls(const SimControl* card);
std::vector<SimSoundWrite> SoundWrites(const SimControl* card);
