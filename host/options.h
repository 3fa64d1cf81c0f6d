// The stand-in host's command line.
#pragma once

#include <string>
#include <vector>

#include "timeline.h"

struct HostOptions {
  std::vector<WindowEvent> window{{0, true}};  // the main window, open at 0
  std::vector<KeyStep> keys;
  std::string keysText;  // --keys, parsed into `keys` by ParseOptions
  std::string keysFile;  // --keys-file, read and parsed by the caller
  int runMs = -1;        // -1: chosen from the schedules; 0: until Ctrl+C
  std::string vcdPath;
  bool answerBoxes = false;
  bool showLog = false;
  bool help = false;
};

// Fills `options` from the arguments after the program name. On failure
// returns false and says why in `error`.
bool ParseOptions(const std::vector<std::string>& args, HostOptions* options,
                  std::string* error);

// How long the plug-in runs: --run when given, else 2000 ms after the last
// scheduled window or key event, at least 3000 ms; 0 means until Ctrl+C.
int RunLengthMs(const HostOptions& options);

// The text of --help.
const char* UsageText();
