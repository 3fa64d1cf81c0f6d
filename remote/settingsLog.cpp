// The five settings, read again at every log call, and the log written as
// the C runtime's text mode wrote it.

#include "settingsLog.h"

#include <stdarg.h>
#include <windows.h>

#include "textFile.h"
#include "textFormat.h"

namespace {

const char kSettingsFileName[] = "mirabo.ini";
const char kLogFileName[] = "MiraboRemote.log";
const char kSection[] = "MiraboRemote";

// The settings file and the log lie in the folder that was current when
// the plug-in first read its settings. Hosts move the current directory
// later (their Open and Save dialogs do, as the user browses), and the
// settings in force and the log must not follow. Named relative to the
// current directory only where its path does not fit.
char settingsFile[MAX_PATH] = ".\\mirabo.ini";
char logFile[MAX_PATH] = "MiraboRemote.log";
bool filesPlaced = false;

// `folder` as GetCurrentDirectory gives it: a drive's root ends in a
// backslash, every other folder does not.
bool PlaceIn(const char* folder, const char* name, char* path) {
  int length = lstrlenA(folder);
  const char* separator = length > 0 && folder[length - 1] == '\\' ? "" : "\\";
  char placed[MAX_PATH];
  int written =
      FormatInto(placed, sizeof placed, "%s%s%s", folder, separator, name);
  if (written >= MAX_PATH - 1) return false;  // cut short: does not fit
  lstrcpyA(path, placed);
  return true;
}

// Once per process, at the first read of the settings, on the thread that
// builds the first plug-in object: no worker runs yet.
void PlaceFiles() {
  if (filesPlaced) return;
  filesPlaced = true;
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return;
  char settings[MAX_PATH];
  if (!PlaceIn(folder, kSettingsFileName, settings) ||
      !PlaceIn(folder, kLogFileName, logFile))
    return;
  lstrcpyA(settingsFile, settings);
}

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
      GetPrivateProfileIntA(kSection, key, fallback, settingsFile));
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
  PlaceFiles();
  ReadSettings();
  if (!useLog) return;
  HANDLE log = OpenForAppending(logFile);
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
