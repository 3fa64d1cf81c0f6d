#include "card_access.h"

#include "testsupport.h"

HeldCard::~HeldCard() {
  if (module_) FreeLibrary(module_);
}

bool HeldCard::Load(std::string* why) {
  module_ = testsupport::LoadSimDriver();
  control_ = testsupport::SimCard();
  if (!module_ || !control_) {
    *why = "the simulated driver BtVid_32.Dll cannot be loaded";
    return false;
  }
  if (control_->size < static_cast<int>(sizeof(SimControl))) {
    *why = "the simulated driver's control table is too old";
    return false;
  }
  control_->Reset();
  // No line trace: a real card keeps none, and nothing here reads it.
  control_->SetTracing(0);
  return true;
}

std::vector<SimCall> Calls(const SimControl* card) {
  return testsupport::Records(card->GetCalls);
}

std::vector<SimSoundWrite> SoundWrites(const SimControl* card) {
  return testsupport::Records(card->GetSoundWrites);
}
