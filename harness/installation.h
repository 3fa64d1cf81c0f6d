// A folder laid out like a Mirabo installation, for running the stand-in
// host, the check tool or a client of TandorUtl in a child process as a
// chosen Windows version: the pieces a caller chooses, copied from the
// build's bin folder, and the settings file. Removed with its contents when
// the object goes.
#pragma once

#include <string>
#include <vector>

#include "files.h"
#include "processes.h"

namespace harness {

class Installation {
 public:
  // As `version`, by Wine's name of it ("win98"), or "" for Wine's own.
  explicit Installation(const std::string& version = "");

  // Copies `file` from the bin folder, or from bin\variants\<variant>\,
  // under its own name; a program (".exe") as <name>-<version>.exe, the
  // file name by which Wine picks the Windows version it shows.
  Installation& Add(const std::string& file, const std::string& variant = "");
  // Whether every copy succeeded; if not, `missing` names what failed.
  bool complete() const { return missing_.empty(); }
  const std::string& missing() const { return missing_; }

  void WriteSettings(const std::string& text) const;
  // Runs `program` (as given to Add) with `args` in the folder, as
  // RunProcess does, for at most a minute.
  ProcessResult Run(const std::string& program, const std::string& args,
                    const std::vector<std::string>& env = {},
                    ChildBoxes boxes = kLeaveBoxes) const;
  const std::string& path() const { return dir_.path(); }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  std::string CopiedName(const std::string& file) const;

  std::string version_;
  TempDir dir_;
  std::string missing_;
};

}  // namespace harness
