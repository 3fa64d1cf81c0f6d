// The simulated card, reached through the control table of the simulated
// "BtVid_32.Dll" that the plug-in's back end loaded into this process (on
// the Windows 2000 path the simulated "wdmI2cDll.dll" imports it). With a
// real driver there is no such table and the link stays detached.
#pragma once

#include <string>
#include <vector>

#include "console.h"
#include "sim_driver.h"
#include "timeline.h"

class SimCardLink {
 public:
  // Finds the control table and keeps the driver loaded while this object
  // lives: the plug-in releases its back end (and with it the driver) when
  // it stops, and the host still reads the card after that. Returns false
  // and says why in `why` when there is no simulated card.
  bool Attach(std::string* why);
  bool attached() const { return control_ != nullptr; }

  // Card times are printed on `clock` (call it once the clock runs).
  void FollowClock(const SessionClock& clock);
  void PlayKeys(const std::vector<KeyStep>& steps);
  // Prints the sound writes that arrived since the last call.
  void PrintSoundWrites();
  bool WriteVcd(const std::string& path);

 private:
  harness::SimDriver driver_;
  const SimControl* control_ = nullptr;
  long long cardUsAtSessionStart_ = 0;
  int soundWritesSeen_ = 0;
};
