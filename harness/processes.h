// Child processes run and watched as a user would: their output, exit
// status and message boxes, within a time limit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "message_boxes.h"

namespace harness {

struct ProcessResult {
  DWORD exitCode = 0;
  std::string output;  // standard output and standard error together
  bool timedOut = false;
  std::vector<Box> boxes;  // the child's message boxes, with kAnswerBoxes
};

// What RunProcess does with the message boxes that the child shows: leave
// them to the child (which answers them itself, or waits), or answer each
// as a user would, and record it.
enum ChildBoxes { kLeaveBoxes, kAnswerBoxes };

// Runs `exe` with `args` in `workDir` and waits at most `timeoutMs` (then
// ends it). `env` entries ("NAME=value") are added to the child's
// environment. Its standard input is empty, so a child that waits for a
// line of input goes on at once.
ProcessResult RunProcess(const std::string& exe, const std::string& args,
                         const std::string& workDir, DWORD timeoutMs,
                         const std::vector<std::string>& env = {},
                         ChildBoxes boxes = kLeaveBoxes);

// Sets environment variables of this process ("NAME=value" each) for the
// life of the object, then restores them; child processes inherit them.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::vector<std::string>& entries);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};

// Polls `done` every few milliseconds until it holds or `timeoutMs` passes;
// returns its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace harness
