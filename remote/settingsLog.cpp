// stdio.h comes first: the C++ runtime's headers, which windows.h pulls in,
// would switch vfprintf to mingw-w64's own replacement of the C runtime's.
#include <stdio.h>

#include <stdarg.h>
#include <windows.h>

#include "settingsLog.h"

namespace {

const char kSettingsFile[] = ".\\mirabo.ini";
const char kSection[] = "MiraboRemote";
const char kLogFile[] = "MiraboRemote.log";

// Plain process-wide words, written only by LogMessage and read by the
// worker threads between its calls.
volatile int keyFirstDelay = 1000;
volatile int keyRepeatDelay = 100;
volatile bool leaveSoundOnExit = false;
// Still read and kept, but the key reading no longer depends on it: both of
// its modes discard a reading that failed on the bus.
volatile bool useAcorpCompMode = false;
volatile bool useLog = true;

int ReadInteger(const char* key, int fallback) {
  return static_cast<int>(
      GetPrivateProfileIntA(kSection, key, fallback, kSettingsFile));
}

// A flag is on only when its value is exactly 1.
bool ReadFlag(const char* key, int fallback) {
  return ReadInteger(key, fallback) == 1;
}

// A delay key that is missing keeps the value in force.
void ReadSettings() {
  keyFirstDelay = ReadInteger("KeyFirstDelay", keyFirstDelay);
  keyRepeatDelay = ReadInteger("KeyRepeatDelay", keyRepeatDelay);
  leaveSoundOnExit = ReadFlag("LeaveSoundOnExit", 0);
  useAcorpCompMode = ReadFlag("UseAcorpCompMode", 0);
  useLog = ReadFlag("UseLog", 1);
}

}  // namespace

void LogMessage(const char* format, ...) {
  ReadSettings();
  if (!useLog) return;
  FILE* log = fopen(kLogFile, "a+t");
  if (!log) return;
  va_list args;
  va_start(args, format);
  vfprintf(log, format, args);
  va_end(args);
  fclose(log);
}

int KeyFirstDelay() {
  return keyFirstDelay;
}

int KeyRepeatDelay() {
  return keyRepeatDelay;
}

bool LeaveSoundOnExit() {
  return leaveSoundOnExit;
}
