// The plug-in object as a COM object: its export, reference count,
// interface identity and table of operations; and the platform detection
// that building it runs.
#include "remote_fixture.h"

using namespace remotetest;

namespace {

// Each test begins with a new object, made with the default settings.
class Object : public PluginTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PluginTest::SetUp());
    ASSERT_NO_FATAL_FAILURE(Create());
  }
};

TEST_F(Object, OneReleaseDestroysTheNewObject) {
  EXPECT_EQ(2u, device_->AddRef());
  EXPECT_EQ(1u, device_->Release());
  EXPECT_EQ(0u, device_->Release());
  // Never started, the object kept its back end loaded, as documented, for
  // the rest of the process. The test gives that reference back itself so
  // that the tests after it start without it.
  HMODULE kept = GetModuleHandleA("TandorUtl.dll");
  EXPECT_NE(nullptr, kept);
  if (kept) FreeLibrary(kept);
}

TEST_F(Object, QueryInterfaceGivesTheSameObjectForBothIdentifiers) {
  void* unknown = nullptr;
  void* remote = nullptr;
  EXPECT_EQ(S_OK, device_->QueryInterface(IID_IUnknown, &unknown));
  EXPECT_EQ(S_OK, device_->QueryInterface(IID_IRemoteDevice, &remote));
  EXPECT_EQ(static_cast<void*>(device_), unknown);
  EXPECT_EQ(static_cast<void*>(device_), remote);
  // One reference from creation, one from each query.
  EXPECT_EQ(2u, device_->Release());
  EXPECT_EQ(1u, device_->Release());
  EXPECT_EQ(0u, device_->Release());
}

TEST_F(Object, QueryInterfaceRefusesOtherIdentifiersAndNoOutPointer) {
  void* other = device_;  // must be cleared
  EXPECT_EQ(E_NOINTERFACE, device_->QueryInterface(IID_IClassFactory, &other));
  EXPECT_EQ(nullptr, other);
  // Differs from IRemoteDevice's identifier in its last byte only.
  IID nearly = IID_IRemoteDevice;
  nearly.Data4[7] ^= 1;
  other = device_;
  EXPECT_EQ(E_NOINTERFACE, device_->QueryInterface(nearly, &other));
  EXPECT_EQ(nullptr, other);
  EXPECT_EQ(E_POINTER, device_->QueryInterface(IID_IRemoteDevice, nullptr));
  // None of them added a reference.
  EXPECT_EQ(0u, device_->Release());
}

// The host may be built by another compiler: it sees only a table of
// __stdcall operations taking the object first, in this order.
struct RemoteDeviceTable {
  HRESULT(__stdcall* QueryInterface)(void* self, REFIID iid, void** object);
  ULONG(__stdcall* AddRef)(void* self);
  ULONG(__stdcall* Release)(void* self);
  HRESULT(__stdcall* Start)(void* self, void* sink, void* host);
  HRESULT(__stdcall* Stop)(void* self);
  void(__stdcall* Reserved)(void* self);
};

TEST_F(Object, TableOfOperationsIsThatOfTheHostContract) {
  void* object = device_;
  const RemoteDeviceTable* table = *static_cast<RemoteDeviceTable**>(object);
  EXPECT_EQ(2u, table->AddRef(object));
  void* same = nullptr;
  EXPECT_EQ(S_OK, table->QueryInterface(object, IID_IUnknown, &same));
  EXPECT_EQ(object, same);
  table->Reserved(object);
  EXPECT_EQ(S_OK, table->Start(object, static_cast<IKeyEventSink*>(&sink_),
                               static_cast<IRemoteHost*>(&host_)));
  EXPECT_EQ(2, host_.count());
  EXPECT_EQ(S_OK, table->Stop(object));
  EXPECT_EQ(1, host_.count());
  EXPECT_EQ(2u, table->Release(object));
  EXPECT_EQ(1u, table->Release(object));
  EXPECT_EQ(0u, table->Release(object));
}

TEST_F(Object, EachObjectWritesItsBannerBeforeItsVersionLine) {
  IRemoteDevice* first = device_;
  WriteSettings(Settings(70, 30));
  ASSERT_NO_FATAL_FAILURE(Create());
  EXPECT_NE(first, device_);
  // The delay line reports what the opening line read.
  EXPECT_EQ(LogOf(kWin98, Settings()) + LogOf(kWin98, Settings(70, 30)),
            LogText());
  EXPECT_EQ(0u, first->Release());
  EXPECT_EQ(0u, device_->Release());
}

// The test build of the plug-in: its process heap refuses.
using ObjectSeam = SeamTest;

TEST_F(ObjectSeam, AllocationFailureGivesNullAndDoesNothingElse) {
  {
    ScopedEnvironment failing({"TANDOR_TEST_FAIL=alloc"});
    EXPECT_EQ(nullptr, plugin_.CreateObject());
  }
  // Not even the banner: the object was never built.
  EXPECT_FALSE(FileExists(dir_.File("MiraboRemote.log")));
  ASSERT_NO_FATAL_FAILURE(Create());
  EXPECT_EQ(0u, device_->Release());
}

// The version query behind the platform detection, through the test build
// of the plug-in, whose version query can be made to refuse records.
using PlatformSeam = SeamTest;

// The record sizes that the version query was asked with, in order, since
// the last call.
std::string TakeQueriedRecordSizes() {
  char sizes[256];
  DWORD length =
      GetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", sizes, sizeof sizes);
  SetEnvironmentVariableA("TANDOR_TEST_VERSION_SIZES", nullptr);
  return length > 0 && length < sizeof sizes ? sizes : "";
}

TEST_F(PlatformSeam, ShortRecordIsTriedWhenTheLongOneIsRefused) {
  TakeQueriedRecordSizes();
  IRemoteDevice* first = plugin_.CreateObject();
  EXPECT_EQ("156", TakeQueriedRecordSizes());
  {
    ScopedEnvironment refusing({"TANDOR_TEST_VERSION_QUERY=refuse156"});
    Create();
  }
  EXPECT_EQ("156,148", TakeQueriedRecordSizes());
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, device_);
  // The short record gives the same version line, and the back end binds.
  EXPECT_EQ(LogOf(kWin98, Settings()) + LogOf(kWin98, Settings()), LogText());
  ASSERT_EQ(S_OK, device_->Start(&sink_, &host_));
  card_->PressKey(18);
  EXPECT_TRUE(sink_.WaitForKeys(1));
  StopAndRelease(device_);
  EXPECT_EQ(0u, first->Release());
}

TEST_F(PlatformSeam, VersionQueryRefusedTwiceEndsTheProcess) {
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
