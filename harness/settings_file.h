// The plug-in's settings file, ".\mirabo.ini", written as a user would
// write it.
#pragma once

#include <string>

namespace harness {

// The five settings, at the plug-in's defaults.
struct PluginSettings {
  int keyFirstDelay = 1000;
  int keyRepeatDelay = 100;
  int leaveSoundOnExit = 0;
  int useAcorpCompMode = 0;
  int useLog = 1;
};

// The section "[MiraboRemote]" with `lines` ("Key=value\r\n" each) in it.
std::string SettingsSection(const std::string& lines);
// The section with all five keys.
std::string SettingsText(const PluginSettings& settings);

// Puts `text` in `dir`'s mirabo.ini (`dir` with a trailing backslash, or
// empty for the current folder). The plug-in may read the file at any
// moment: it sees the old file or the new one, never a half-written one.
void WriteSettingsFile(const std::string& dir, const std::string& text);
void WriteSettingsFile(const std::string& dir, const PluginSettings& settings);

}  // namespace harness
