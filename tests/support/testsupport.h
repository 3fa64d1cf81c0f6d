// Helpers shared by the test programs: folders, files, child processes,
// message boxes and the simulated card.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "control_table.h"

namespace testsupport {

// The folder of the running program (the build's bin folder), with a
// trailing backslash.
std::string ExeDir();
// The path of `file` in the bin folder, or in bin\variants\<variant>\.
std::string BinFile(const std::string& file, const std::string& variant = "");

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

std::string ReadText(const std::string& path);
// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string> Lines(const std::string& text);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// Copies `file` into `dir`, under `newName` when given; false on failure.
bool CopyInto(const std::string& file, const std::string& dir,
              const std::string& newName = "");

// A top-level window of class "MiraboMainWindow" with the given title, for
// the life of the object: Mirabo's main window as the plug-in and the check
// tool look for it.
class HostWindow {
 public:
  explicit HostWindow(const char* title = "Mirabo");
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  bool created() const { return window_ != nullptr; }

 private:
  HWND window_;
};

// A message box as a user would see it.
struct Box {
  std::string caption;
  std::string text;
  bool hasIcon = false;
  HWND owner = nullptr;  // the window that owns the box, null for none
};

// While it exists, every message box shown on the creating thread is
// recorded and answered with OK at once. One catcher per thread.
class BoxCatcher {
 public:
  BoxCatcher();
  ~BoxCatcher();
  BoxCatcher(const BoxCatcher&) = delete;
  BoxCatcher& operator=(const BoxCatcher&) = delete;
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  HHOOK hook_;
  std::vector<Box> boxes_;
};

struct ProcessResult {
  DWORD exitCode = 0;
  std::string output;  // standard output and standard error together
  bool timedOut = false;
  std::vector<Box> boxes;  // the child's message boxes, with kAnswerBoxes
};

// What RunProcess does with the message boxes that the child shows: leave
// them to the child (which answers them itself, or waits), or answer each
// with OK as a user would, and record it.
enum ChildBoxes { kLeaveBoxes, kAnswerBoxes };

// Runs `exe` with `args` in `workDir` and waits at most `timeoutMs` (then
// ends it). `env` entries ("NAME=value") are added to the child's
// environment. Its standard input is empty, so a child that waits for a
// line of input goes on at once.
ProcessResult RunProcess(const std::string& exe, const std::string& args,
                         const std::string& workDir, DWORD timeoutMs,
                         const std::vector<std::string>& env = {},
                         ChildBoxes boxes = kLeaveBoxes);

// Polls `done` every few milliseconds until it holds or `timeoutMs` passes;
// returns its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Every entry of one of the simulated card's records, in order: pass the
// table's Get function, e.g. Records(card->GetCalls).
template <typename Entry>
std::vector<Entry> Records(int(__cdecl* get)(Entry*, int)) {
  std::vector<Entry> entries(static_cast<size_t>(get(nullptr, 0)));
  int count = get(entries.data(), static_cast<int>(entries.size()));
  entries.resize(static_cast<size_t>(count) < entries.size()
                     ? static_cast<size_t>(count)
                     : entries.size());
  return entries;
}

// The control table of the simulated card loaded in this process, or null
// when no simulated driver is loaded.
const SimControl* SimCard();

// Loads the simulated driver from the bin folder, or the variant of that
// name from bin\variants\<variant>\, and returns its module (one reference
// that the caller releases).
HMODULE LoadSimDriver(const std::string& variant = "");

}  // namespace testsupport
