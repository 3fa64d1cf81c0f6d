#include "settings_file.h"

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

void WriteSettingsFile(const std::string& dir, const std::string& text) {
  ReplaceText(dir + "mirabo.ini", text);
}

void WriteSettingsFile(const std::string& dir, const PluginSettings& settings) {
  WriteSettingsFile(dir, SettingsText(settings));
}

}  // namespace harness
