// The five settings, read again at every log call, and the log written as
// the C runtime's text mode wrote it.

#include "settingsLog.h"

#include <stdarg.h>
#include <windows.h>

#include "textFile.h"

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

// The log is written as the C runtime's fopen(..., "a+t") and vfprintf
// would write it, which is what existing logs and their readers know:
// appended, every line feed as CR LF, the file created when missing and
// closed again after each message.
void LogMessage(const char* format, ...) {
  ReadSettings();
  if (!useLog) return;
  HANDLE log = OpenForAppending(kLogFile);
  if (log == INVALID_HANDLE_VALUE) return;
  {
    TextFileWriter writer(log, TextFileWriter::kAtEnd);
    va_list args;
    va_start(args, format);
    FormatText(writer, format, args);
    va_end(args);
  }
  CloseHandle(log);
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
