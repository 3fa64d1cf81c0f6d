// The plug-in measured as a host sees it: tandor.dll polling the simulated
// card through TandorUtl, the benchmark being the host. Times are taken on
// the card's clock: a press when the card is told to hold the key, a key
// when the plug-in calls OnKey.
#pragma once

#include <string>
#include <vector>

#include "plugin_host.h"
#include "control_table.h"
#include "stats.h"

// How much to measure.
struct PluginPlan {
  int presses = 60;      // per key latency case
  int stopsPerCase = 5;  // per stop case
  int cpuSeconds = 10;   // per processor time case
  int cadenceHolds = 5;  // held keys for the first-delay cadence
};

struct KeyLatencyFigures {
  harness::PluginSettings settings;
  int presses = 0;
  int missed = 0;     // no OnKey within 3 s
  int wrongKey = 0;   // OnKey with another key's name
  Summary latencyMs;  // press to OnKey
};

// Where the plug-in is when asked to stop.
struct StopCase {
  harness::PluginSettings settings;
  // In the KeyFirstDelay pause after a one-reading press; else polling
  // before any key, at a random point of its 20 ms cycles.
  bool afterPress = false;
  // The host's main window open (the sound switched on by the plug-in):
  // the exit then waits 500 ms before it switches the sound off. Without
  // it the exit switches the sound off at once.
  bool hostWindow = false;
};

struct StopFigures {
  StopCase stopCase;
  Summary stopMs;     // the Stop call
  Summary noticedMs;  // the request to the exit's first sound write
};

// Processor time of this process over a stretch of wall time, and the
// receiver readings the plug-in made in it.
struct CpuWindow {
  double cpuMs = 0;
  double wallMs = 0;
  int keyReads = 0;
};

struct CpuFigures {
  CpuWindow idle;    // polling, no key
  CpuWindow held;    // a key held down
  int heldKeys = 0;  // OnKey calls while the key was held
};

struct CadenceFigures {
  harness::PluginSettings settings;
  int holds = 0;
  std::vector<double> firstIntervalsMs;   // first key to the second
  std::vector<double> repeatIntervalsMs;  // between later keys
};

struct PluginFigures {
  bool ran = false;
  std::string why;             // when not run
  KeyLatencyFigures firstKey;  // the first key after start
  KeyLatencyFigures newKey;    // a new key after a one-reading press
  std::vector<StopFigures> stops;
  CpuFigures cpu;
  CadenceFigures cadence;
};

// Runs every plug-in measurement in the current folder, which holds the
// settings file and the log.
PluginFigures MeasurePlugin(const SimControl* card, const PluginPlan& plan);
