// Folders and files: the bin folder, temporary and current folders, and
// whole files read and written at once.
#pragma once

#include <windows.h>

#include <string>

namespace harness {

// The folder of the running program (the build's bin folder), with a
// trailing backslash.
std::string ExeDir();
// The path of `file` in the bin folder, or in bin\variants\<variant>\.
std::string BinFile(const std::string& file, const std::string& variant = "");

// The full path of a module loaded in this process.
std::string ModulePath(HMODULE module);

// A new empty folder under the temporary folder, removed with its contents
// when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // With a trailing backslash.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Makes `path` the current folder until the object goes.
class CurrentDir {
 public:
  explicit CurrentDir(const std::string& path);
  ~CurrentDir();
  CurrentDir(const CurrentDir&) = delete;
  CurrentDir& operator=(const CurrentDir&) = delete;

 private:
  std::string previous_;
};

// The whole file; false (and `text` untouched) when it cannot be opened.
bool ReadText(const std::string& path, std::string* text);
// The whole file, or "" when it cannot be opened.
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// Copies `file` into `dir` (with a trailing backslash), under `newName` when
// given; false on failure.
bool CopyInto(const std::string& file, const std::string& dir,
              const std::string& newName = "");

}  // namespace harness
