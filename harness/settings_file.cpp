#include "settings_file.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "files.h"

namespace harness {

std::string SettingsSection(const std::string& lines) {
  return "[MiraboRemote]\r\n" + lines;
}

std::string SettingsText(const PluginSettings& settings) {
  return SettingsSection(
      "KeyFirstDelay=" + std::to_string(settings.keyFirstDelay) +
      "\r\nKeyRepeatDelay=" + std::to_string(settings.keyRepeatDelay) +
      "\r\nLeaveSoundOnExit=" + std::to_string(settings.leaveSoundOnExit) +
      "\r\nUseAcorpCompMode=" + std::to_string(settings.useAcorpCompMode) +
      "\r\nUseLog=" + std::to_string(settings.useLog) + "\r\n");
}

// Written beside the file and then put in its place.
void WriteSettingsFile(const std::string& dir, const std::string& text) {
  std::string path = dir + "mirabo.ini", next = path + ".new";
  WriteText(next, text);
  // A reader that has the file open (the plug-in's settings reads open it
  // for every value) makes the replacement fail with a sharing violation:
  // try again until the reader is done, rather than leave the old file.
  DWORD start = GetTickCount();
  while (!MoveFileExA(next.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    if (GetTickCount() - start > 10000) {
      fprintf(stderr, "harness: %s could not be replaced (error %lu)\n",
              path.c_str(), GetLastError());
      abort();
    }
    Sleep(1);
  }
}

void WriteSettingsFile(const std::string& dir, const PluginSettings& settings) {
  WriteSettingsFile(dir, SettingsText(settings));
}

}  // namespace harness
