#include "plugin_log.h"

namespace testsupport {

std::vector<std::string> BannerLines(int keyFirstDelay, int keyRepeatDelay) {
  return {"> Initializing Tandor remote module.", "> " + std::string(66, '-'),
          "",
          "> KeyFirstDelay=" + std::to_string(keyFirstDelay) +
              ", KeyRepeatDelay=" + std::to_string(keyRepeatDelay)};
}

std::string VersionLine(const std::string& platformName, unsigned long major,
                        unsigned long minor, const std::string& csd,
                        unsigned long build) {
  return "> Windows Version - " + platformName + " version " +
         std::to_string(major) + "." + std::to_string(minor) + " " + csd +
         " (Build " + std::to_string(build & 0xFFFF) + ")";
}

std::vector<std::string> BoundLines(const std::string& library) {
  return {"> Loading " + library + " ...   Ok!",
          "> Import finctions ...   Ok!"};
}

std::string OnDisk(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace testsupport
