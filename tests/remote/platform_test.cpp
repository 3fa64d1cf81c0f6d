// The version query behind the platform detection, through the test build
// of the plug-in, whose version query can be made to refuse records.
#include "remote_fixture.h"

using namespace remotetest;

namespace {

using PlatformSeam = SeamTest;

// The record sizes that the version query was asked with, in order.
std::string QueriedRecordSizes() {
  char sizes[256];
  DWORD length =
      GetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", sizes, sizeof sizes);
  return length > 0 && length < sizeof sizes ? sizes : "";
}

TEST_F(PlatformSeam, ShortRecordIsTriedWhenTheLongOneIsRefused) {
  WriteSettings(Settings());
  SetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", nullptr);
  IRemoteDevice* first = Create();
  EXPECT_EQ("156", QueriedRecordSizes());
  SetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", nullptr);
  IRemoteDevice* second;
  {
    ScopedEnvironment refusing({"TANDOR_TEST_VERSION_QUERY=refuse156"});
    second = Create();
  }
  EXPECT_EQ("156,148", QueriedRecordSizes());
  SetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", nullptr);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  // The short record gives the same version line, and the back end binds.
  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(14u, lines.size()) << LogText();
  EXPECT_EQ(0u, lines[4].find("> Windows Version - Microsoft Windows 98"))
      << lines[4];
  EXPECT_EQ(lines[4], lines[11]);
  EXPECT_EQ("> Loading tandorutl.dll ...   Ok!", lines[12]);
  EXPECT_EQ("> Import finctions ...   Ok!", lines[13]);
  ASSERT_EQ(S_OK, second->Start(&sink_, &host_));
  card_->PressKey(18);
  EXPECT_TRUE(sink_.WaitForKeys(1));
  EXPECT_EQ(S_OK, second->Stop());
  EXPECT_EQ(0u, second->Release());
  EXPECT_EQ(0u, first->Release());
}

TEST_F(PlatformSeam, VersionQueryRefusedTwiceEndsTheProcess) {
  WriteSettings(Settings());
  ProcessResult child = RunChildTest("Child.CreatesAndReleases", dir_.path(),
                                     {"TANDOR_CHILD_PLUGIN=tandor_seam.dll",
                                      "TANDOR_TEST_VERSION_QUERY=refuseall"});
  EXPECT_FALSE(child.timedOut);
  EXPECT_EQ(1u, child.exitCode) << child.output;
  EXPECT_NE(
      std::string::npos,
      child.output.find("message box: caption \"Error\", icon error, owner "
                        "desktop, text \"This system don't support.\"; "
                        "answered \"OK\""))
      << child.output;
  EXPECT_EQ(std::string::npos, child.output.find("CREATED")) << child.output;
  // No version line: the reason follows the delay line directly.
  EXPECT_EQ(OnDisk(BannerLines(100, 50)) + kUnsupportedTail, LogText());
}

}  // namespace
