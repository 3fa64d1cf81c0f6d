// The halves of tests that run in a child process of their own (see
// RunChildTest): a process that the plug-in ends, or one whose process-wide
// state must be new. They are skipped when this program runs on its own.
// The child works in the folder that its parent gave it, and loads the
// plug-in named by TANDOR_CHILD_PLUGIN (tandor.dll when not set).
#include <stdio.h>

#include "remote_fixture.h"

using namespace remotetest;
using namespace testsupport;

namespace {

#define SKIP_UNLESS_CHILD() \
  if (!InChildMode()) GTEST_SKIP() << "runs only as a child process"

std::string ChildPluginFile() {
  char name[MAX_PATH];
  DWORD length =
      GetEnvironmentVariableA("TANDOR_CHILD_PLUGIN", name, sizeof name);
  if (length == 0 || length >= sizeof name) return "tandor.dll";
  return name;
}

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text)
    escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
  return escaped;
}

// Answers every message box of this thread and prints it to the standard
// output as "BOX [caption] [text] icon=0|1" (line feeds as \n), before the
// plug-in can end the process.
class BoxPrinter {
 public:
  BoxPrinter()
      : hook_(SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId())) {
    active_ = this;
  }
  ~BoxPrinter() {
    active_ = nullptr;
    UnhookWindowsHookEx(hook_);
  }
  BoxPrinter(const BoxPrinter&) = delete;
  BoxPrinter& operator=(const BoxPrinter&) = delete;

 private:
  // Installed before the catcher, so called after it has seen the box.
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && active_) active_->PrintNewBoxes();
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  void PrintNewBoxes() {
    while (printed_ < catcher_.boxes().size()) {
      const Box& box = catcher_.boxes()[printed_++];
      printf("BOX [%s] [%s] icon=%d\n", Escaped(box.caption).c_str(),
             Escaped(box.text).c_str(), box.hasIcon ? 1 : 0);
      fflush(stdout);
    }
  }

  HHOOK hook_;
  BoxCatcher catcher_;
  size_t printed_ = 0;
  static BoxPrinter* active_;
};

BoxPrinter* BoxPrinter::active_ = nullptr;

IRemoteDevice* CreateDevice(HMODULE plugin) {
  auto get = reinterpret_cast<GetInterfacePtrFn>(
      reinterpret_cast<void*>(GetProcAddress(plugin, REMOTE_EXPORT_NAME)));
  return get ? get() : nullptr;
}

// Prints "CREATED" only if building the object returned.
TEST(RemoteChild, CreatesAndReleases) {
  SKIP_UNLESS_CHILD();
  BoxPrinter boxes;
  HMODULE plugin = LoadLibraryA((ExeDir() + ChildPluginFile()).c_str());
  ASSERT_NE(nullptr, plugin);
  IRemoteDevice* device = CreateDevice(plugin);
  printf("CREATED\n");
  fflush(stdout);
  ASSERT_NE(nullptr, device);
  EXPECT_EQ(0u, device->Release());
  FreeLibrary(plugin);
}

// The load of the back end that the object's creation made is given back
// when its polling ends.
TEST(RemoteChild, PollsAndGivesBackItsBackEnd) {
  SKIP_UNLESS_CHILD();
  HMODULE plugin = LoadLibraryA((ExeDir() + ChildPluginFile()).c_str());
  ASSERT_NE(nullptr, plugin);
  ASSERT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  IRemoteDevice* device = CreateDevice(plugin);
  ASSERT_NE(nullptr, device);
  EXPECT_NE(nullptr, GetModuleHandleA("tandorutl.dll"));
  const SimControl* sim = SimCard();
  ASSERT_NE(nullptr, sim);
  CountingHost host;
  ASSERT_EQ(S_OK, device->Start(nullptr, &host));
  EXPECT_TRUE(
      WaitUntil([&] { return sim->GetKeyReads(nullptr, 0) > 0; }, 3000));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  EXPECT_EQ(0u, device->Release());
  FreeLibrary(plugin);
}

}  // namespace
