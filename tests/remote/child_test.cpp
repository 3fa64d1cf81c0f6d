// The halves of tests that run in a child process of their own (see
// RunChildTest): a process that the plug-in ends, or one whose process-wide
// state must be new. They are skipped when this program runs on its own.
// The child works in the folder that its parent gave it, and loads the
// plug-in named by TANDOR_CHILD_PLUGIN (tandor.dll when not set).
#include <stdio.h>

#include "remote_fixture.h"

using namespace remotetest;

namespace {

// Loads the plug-in, in a child process only.
class Child : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!InChildMode()) GTEST_SKIP() << "runs only as a child process";
    char name[MAX_PATH];
    DWORD length =
        GetEnvironmentVariableA("TANDOR_CHILD_PLUGIN", name, sizeof name);
    bool named = length > 0 && length < sizeof name;
    ASSERT_TRUE(plugin_.Load(BinFile(named ? name : "tandor.dll")));
  }

  PluginLibrary plugin_;
};

// Prints each message box of this thread as the stand-in host describes
// it, before the plug-in can end the process, and "CREATED" only if
// building the object returned.
TEST_F(Child, CreatesAndReleases) {
  BoxAnswerer boxes([](const Box& box) {
    printf("%s\n", Describe(box).c_str());
    fflush(stdout);
  });
  IRemoteDevice* device = plugin_.CreateObject();
  printf("CREATED\n");
  fflush(stdout);
  ASSERT_NE(nullptr, device);
  EXPECT_EQ(0u, device->Release());
}

// The load of the back end that the object's creation made is given back
// when its polling ends.
TEST_F(Child, PollsAndGivesBackItsBackEnd) {
  ASSERT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  IRemoteDevice* device = plugin_.CreateObject();
  ASSERT_NE(nullptr, device);
  EXPECT_NE(nullptr, GetModuleHandleA("tandorutl.dll"));
  const SimControl* sim = SimCard();
  ASSERT_NE(nullptr, sim);
  HostApplication host;
  ASSERT_EQ(S_OK, device->Start(nullptr, &host));
  EXPECT_TRUE(
      WaitUntil([&] { return sim->GetKeyReads(nullptr, 0) > 0; }, 3000));
  EXPECT_EQ(S_OK, device->Stop());
  EXPECT_EQ(nullptr, GetModuleHandleA("tandorutl.dll"));
  EXPECT_EQ(0u, device->Release());
}

}  // namespace
