#include "installation.h"

#include "settings_file.h"

namespace harness {

Installation::Installation(const std::string& version) : version_(version) {}

std::string Installation::CopiedName(const std::string& file) const {
  const std::string kExe = ".exe";
  if (version_.empty() || file.size() < kExe.size() ||
      file.compare(file.size() - kExe.size(), kExe.size(), kExe) != 0)
    return file;
  return file.substr(0, file.size() - kExe.size()) + "-" + version_ + kExe;
}

Installation& Installation::Add(const std::string& file,
                                const std::string& variant) {
  std::string from = BinFile(file, variant);
  if (!CopyInto(from, dir_.path(), CopiedName(file)))
    missing_ += (missing_.empty() ? "cannot copy " : ", ") + from;
  return *this;
}

void Installation::WriteSettings(const std::string& text) const {
  WriteSettingsFile(dir_.path(), text);
}

ProcessResult Installation::Run(const std::string& program,
                                const std::string& args,
                                const std::vector<std::string>& env,
                                ChildBoxes boxes) const {
  return RunProcess(dir_.File(CopiedName(program)), args, dir_.path(), 60000,
                    env, boxes);
}

}  // namespace harness
