#include "testsupport.h"

#include <stdio.h>

namespace testsupport {

namespace {

const char kHostWindowClass[] = "MiraboMainWindow";

void RegisterHostWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly once registered
}

}  // namespace

HostWindow::HostWindow(const char* title) {
  RegisterHostWindowClass();
  window_ = CreateWindowExA(0, kHostWindowClass, title, WS_OVERLAPPEDWINDOW, 0,
                            0, 200, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  if (window_) DestroyWindow(window_);
}

std::string ExeDir() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string BinFile(const std::string& file, const std::string& variant) {
  std::string dir = ExeDir();
  if (!variant.empty()) dir += "variants\\" + variant + "\\";
  return dir + file;
}

static void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir() {
  static LONG counter = 0;
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  char name[MAX_PATH];
  snprintf(name, sizeof name, "%standor-%lu-%ld-%lu\\", base,
           GetCurrentProcessId(), InterlockedIncrement(&counter),
           GetTickCount());
  path_ = name;
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  RemoveTree(path_);
}

CurrentDir::CurrentDir(const std::string& path) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  previous_ = previous;
  SetCurrentDirectoryA(path.c_str());
}

CurrentDir::~CurrentDir() {
  SetCurrentDirectoryA(previous_.c_str());
}

std::string ReadText(const std::string& path) {
  std::string text;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return text;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, got);
  fclose(file);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return;
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyInto(const std::string& file, const std::string& dir,
              const std::string& newName) {
  std::string name = newName;
  if (name.empty()) name = file.substr(file.find_last_of("\\/") + 1);
  std::string target = dir;
  if (!target.empty() && target.back() != '\\' && target.back() != '/')
    target += '\\';
  return CopyFileA(file.c_str(), (target + name).c_str(), FALSE) != 0;
}

// The boxes of this thread's catcher; the hook procedure has no other way
// to them.
static thread_local std::vector<Box>* activeBoxes = nullptr;
// A box can be activated more than once; it is recorded the first time.
static thread_local HWND lastBox = nullptr;

static bool IsDialog(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return strcmp(name, "#32770") == 0;
}

static BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
  char name[16] = "";
  GetClassNameA(child, name, sizeof name);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<bool*>(found) = true;
  }
  return TRUE;
}

// A message box as its user sees it, from its window (of this process or
// another): the caption, the text (the control that the system's message
// box gives the ID 0xFFFF), the icon and the owner.
static Box DescribeBox(HWND window) {
  Box box;
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  box.caption = text;
  text[0] = '\0';
  GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  box.text = text;
  EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&box.hasIcon));
  box.owner = GetWindow(window, GW_OWNER);
  return box;
}

LRESULT CALLBACK BoxCatcher::Hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && activeBoxes) {
    HWND window = reinterpret_cast<HWND>(wparam);
    if (IsDialog(window) && window != lastBox) {
      lastBox = window;
      activeBoxes->push_back(DescribeBox(window));
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

BoxCatcher::BoxCatcher() {
  activeBoxes = &boxes_;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher() {
  UnhookWindowsHookEx(hook_);
  activeBoxes = nullptr;
  lastBox = nullptr;
}

// Sets environment variables for the life of the object, then restores them.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::vector<std::string>& entries) {
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
  ~ScopedEnvironment() {
    for (const Saved& saved : saved_)
      SetEnvironmentVariableA(saved.name.c_str(),
                              saved.had ? saved.value.c_str() : nullptr);
  }

 private:
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};

// The message boxes of another process: its visible top-level dialogs.
class ChildBoxAnswerer {
 public:
  explicit ChildBoxAnswerer(DWORD processId) : processId_(processId) {}

  // Answers every box that the process shows now with OK.
  void AnswerOpenBoxes() {
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(this));
  }
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    reinterpret_cast<ChildBoxAnswerer*>(self)->Answer(window);
    return TRUE;
  }

  void Answer(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId_ || !IsDialog(window)) return;
    if (!IsWindowVisible(window) || window == lastAnswered_) return;
    boxes_.push_back(DescribeBox(window));
    lastAnswered_ = window;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }

  DWORD processId_;
  HWND lastAnswered_ = nullptr;
  std::vector<Box> boxes_;
};

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
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ, &inherit,
                             OPEN_EXISTING, 0, nullptr);
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = output;
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
  ChildBoxAnswerer answerer(process.dwProcessId);
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

const SimControl* SimCard() {
  HMODULE driver = GetModuleHandleA("BtVid_32.Dll");
  if (!driver) return nullptr;
  auto get = reinterpret_cast<SimGetControlFn>(
      reinterpret_cast<void*>(GetProcAddress(driver, "SimGetControl")));
  return get ? get() : nullptr;
}

HMODULE LoadSimDriver(const std::string& variant) {
  return LoadLibraryA(BinFile("BtVid_32.Dll", variant).c_str());
}

}  // namespace testsupport
