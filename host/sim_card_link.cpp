#include "sim_card_link.h"

namespace {

const char* SoundMeaning(int value) {
  if (value == 0x20) return "on";
  return value == 0x10 || value == 0x40 ? "off" : "unchanged";
}

}  // namespace

bool SimCardLink::Attach(std::string* why) {
  if (!GetModuleHandleA("BtVid_32.Dll")) {
    *why = "no BtVid_32.Dll is loaded";
    return false;
  }
  if (!harness::SimCard()) {
    *why = "the loaded BtVid_32.Dll is not the simulated card's";
    return false;
  }
  if (!driver_.HoldLoaded()) {
    *why = "cannot keep the simulated driver loaded";
    return false;
  }
  control_ = driver_.card();
  soundWritesSeen_ = control_->GetSoundWrites(nullptr, 0);
  return true;
}

void SimCardLink::FollowClock(const SessionClock& clock) {
  if (control_)
    cardUsAtSessionStart_ = control_->NowUs() - clock.NowMs() * 1000LL;
}

void SimCardLink::PlayKeys(const std::vector<KeyStep>& steps) {
  if (!control_ || steps.empty()) return;
  std::vector<SimKeyStep> script;
  for (const KeyStep& step : steps) script.push_back({step.atMs, step.code});
  control_->PlayKeyScript(script.data(), static_cast<int>(script.size()));
}

void SimCardLink::PrintSoundWrites() {
  if (!control_) return;
  // The card says how many writes it copied, which may be more than the
  // room given when one arrives in between: Records keeps to the room.
  std::vector<SimSoundWrite> writes =
      harness::Records(control_->GetSoundWrites);
  int count = static_cast<int>(writes.size());
  for (int i = soundWritesSeen_; i < count; ++i) {
    const SimSoundWrite& write = writes[i];
    long ms = static_cast<long>((write.timeUs - cardUsAtSessionStart_) / 1000);
    console::Event(ms, "sound %s (0x%02X%s)", SoundMeaning(write.value),
                   write.value, write.viaWdm ? " via wdmI2cDll.dll" : "");
  }
  soundWritesSeen_ = count;
}

bool SimCardLink::WriteVcd(const std::string& path) {
  return control_ && control_->WriteVcd(path.c_str()) == 0;
}
