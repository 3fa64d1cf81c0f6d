#include "processes.h"

#include "files.h"

namespace harness {

ScopedEnvironment::ScopedEnvironment(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    std::string name = entry.substr(0, entry.find('='));
    std::string value = entry.substr(name.size() + 1);
    char old[4096];
    DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    bool had = length > 0 && length < sizeof old;
    saved_.push_back({name, had ? std::string(old, length) : "", had});
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  for (const Saved& saved : saved_)
    SetEnvironmentVariableA(saved.name.c_str(),
                            saved.had ? saved.value.c_str() : nullptr);
}

ProcessResult RunProcess(const std::string& exe, const std::string& args,
                         const std::string& workDir, DWORD timeoutMs,
                         const std::vector<std::string>& env,
                         ChildBoxes childBoxes) {
  ProcessResult result;
  TempDir outputDir;
  std::string outputPath = outputDir.File("output.txt");
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ, &inherit,
                             OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = startup.hStdError = output;
  std::string commandLine = "\"" + exe + "\" " + args;
  PROCESS_INFORMATION process = {};
  BOOL started;
  {
    ScopedEnvironment scoped(env);
    started = CreateProcessA(
        exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
        workDir.empty() ? nullptr : workDir.c_str(), &startup, &process);
  }
  CloseHandle(output);
  CloseHandle(input);
  if (!started) {
    result.exitCode = static_cast<DWORD>(-1);
    result.output = "cannot start " + exe;
    return result;
  }
  // Answering boxes, the wait looks at them every few milliseconds.
  const DWORD kBoxPollMs = 20;
  ProcessBoxAnswerer answerer(process.dwProcessId);
  DWORD start = GetTickCount();
  DWORD waited = WAIT_TIMEOUT;
  for (;;) {
    DWORD passed = GetTickCount() - start;
    DWORD left = passed < timeoutMs ? timeoutMs - passed : 0;
    DWORD slice = left;
    if (childBoxes == kAnswerBoxes && slice > kBoxPollMs) slice = kBoxPollMs;
    waited = WaitForSingleObject(process.hProcess, slice);
    if (waited != WAIT_TIMEOUT || slice == left) break;
    answerer.AnswerOpenBoxes();
  }
  result.boxes = answerer.boxes();
  if (waited == WAIT_TIMEOUT) {
    result.timedOut = true;
    TerminateProcess(process.hProcess, 255);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.output = ReadText(outputPath);
  return result;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return done();
    Sleep(2);
  }
  return true;
}

}  // namespace harness
