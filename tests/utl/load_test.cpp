// Loading and unloading TandorUtl: the boxes of every refused load, in
// order, and what a load leaves behind once it is undone. Then the entry
// flag: stored as 0 or 1, shared by every process that has the library
// loaded, and back at 0 once the last of them has unloaded it.

#include <ctype.h>

#include <climits>
#include <thread>

#include "card_fixture.h"

namespace utltest {
namespace {

const char kInitDllError[] = "TandorUtl|Init DLL error!|icon=0|owner=0";

// The boxes of a load of TandorUtl that is refused; nothing stays loaded.
Texts BoxesOfARefusedLoad() {
  Utl utl;
  EXPECT_FALSE(utl.loaded());
  return Describe(utl.boxes());
}

// --- Refused loads ----------------------------------------------------

TEST(RefusedLoad, WithoutTheDriverShowsOnlyTheInitDllBox) {
  // A folder of its own, without BtVid_32.Dll, and a client process in it.
  harness::Installation folder;
  folder.Add("utl_client.exe").Add("TandorUtl.dll");
  ASSERT_TRUE(folder.complete()) << folder.missing();
  harness::ProcessResult run = folder.Run("utl_client.exe", "load state");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode) << run.output;
  EXPECT_EQ(Texts({std::string("box ") + kInitDllError, "refused",
                   "region=0 driver=0"}),
            Lines(run.output));
}

struct MissingFunction {
  const char* variant;
  const char* groupBox;
};

void PrintTo(const MissingFunction& missing, std::ostream* out) {
  *out << missing.variant;
}

class RefusedLoadOfAVariant : public ::testing::TestWithParam<MissingFunction> {
};

TEST_P(RefusedLoadOfAVariant, ShowsItsGroupBoxThenTheInitDllBox) {
  HeldDriver driver(GetParam().variant);
  ASSERT_TRUE(driver.held());
  EXPECT_EQ(
      Texts({std::string("Error|") + GetParam().groupBox + "|icon=1|owner=0",
             kInitDllError}),
      BoxesOfARefusedLoad());
  // The refused load gave back its reference to the driver, once: the
  // test's own reference still holds it, and it alone.
  EXPECT_TRUE(DriverLoaded());
  EXPECT_FALSE(EntryRegionExists());
  driver.Release();
  EXPECT_FALSE(DriverLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    CheckGroups, RefusedLoadOfAVariant,
    ::testing::Values(
        MissingFunction{SIM_VARIANT_NO_I2CSWREADSCL,
                        "Can't load software I2C function!"},
        MissingFunction{SIM_VARIANT_NO_I2CHWWRITE3,
                        "Can't load hardware I2C function!"},
        // Also lacks a video function: only the first group's box shows.
        MissingFunction{SIM_VARIANT_NO_SETGPIE_BT848SETHUE,
                        "Can't load GPIO function!"},
        MissingFunction{SIM_VARIANT_NO_BT848SETSATURATION,
                        "Can't load Video function!"},
        MissingFunction{SIM_VARIANT_NO_BT848SETCCSTATUS,
                        "Can't load CloseCaption function!"},
        MissingFunction{SIM_VARIANT_NO_BT848UNLOADIMAGE,
                        "Can't load Bt848UnLoadImage function!"},
        MissingFunction{SIM_VARIANT_NO_ISBT878FAMILY,
                        "Can't load ChipID function!"}),
    // Named after the variant: "no-I2CSWReadSCL" runs as no_I2CSWReadSCL.
    [](const ::testing::TestParamInfo<MissingFunction>& info) {
      std::string name = info.param.variant;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(RefusedLoad, WhenTheDriversI2cIsNotInitialisedShowsTheInitI2cBox) {
  HeldDriver driver;
  const SimControl* card = harness::SimCard();
  ASSERT_NE(nullptr, card);
  SimFault fault = {SIM_FAULT_I2C_INIT_OK_RESULT, -1, -1, -1, -1, 0};
  ASSERT_GT(card->AddFault(&fault), 0);
  EXPECT_EQ(Texts({"TandorUtl|Init I2C error!|icon=0|owner=0"}),
            BoxesOfARefusedLoad());
  EXPECT_TRUE(DriverLoaded());
  EXPECT_FALSE(EntryRegionExists());
  driver.Release();
  EXPECT_FALSE(DriverLoaded());
}

TEST(RefusedLoad, WhenTheRegionsNameIsTakenShowsTheCreateFileMappingBox) {
  HANDLE other = CreateEventA(nullptr, TRUE, FALSE, TANDORUTL_REGION_NAME);
  ASSERT_NE(nullptr, other);
  Texts boxes = BoxesOfARefusedLoad();
  CloseHandle(other);
  EXPECT_EQ(Texts({"Utl|CreateFileMapping Err!|icon=0|owner=0"}), boxes);
  EXPECT_FALSE(DriverLoaded());
}

TEST(RefusedLoad, WhenTheRegionCannotBeWrittenShowsTheMapViewOfFileBox) {
  // A region of that name that is a read-only view of a file: it opens, but
  // cannot be mapped for writing.
  harness::TempDir dir;
  harness::WriteText(dir.File("region.bin"), std::string(0x1000, '\0'));
  HANDLE file = CreateFileA(dir.File("region.bin").c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  HANDLE readOnly = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0,
                                       TANDORUTL_REGION_NAME);
  CloseHandle(file);
  ASSERT_NE(nullptr, readOnly);
  EXPECT_EQ(Texts({"Utl|MapViewOfFile Err!|icon=0|owner=0"}),
            BoxesOfARefusedLoad());
  EXPECT_FALSE(DriverLoaded());
  // The refused load closed its handle of the region; the test's own is the
  // last one.
  CloseHandle(readOnly);
  EXPECT_FALSE(EntryRegionExists());
}

TEST(RefusedLoad, LeavesARegionThatAnotherProcessHoldsAsItWas) {
  {
    sim::HeldEntryRegion region(sim::HeldEntryRegion::kCreate);
    volatile LONG* words = region.words();
    ASSERT_NE(nullptr, words);
    words[0] = 1;
    words[1] = 0x5A5A;
    HeldDriver driver(SIM_VARIANT_NO_ISBT878FAMILY);
    EXPECT_EQ(2u, BoxesOfARefusedLoad().size());
    EXPECT_EQ(1, words[0]);
    EXPECT_EQ(0x5A5A, words[1]);
  }
  EXPECT_FALSE(EntryRegionExists());
}

// --- Successful loads --------------------------------------------------

TEST(Load, ShowsNoBoxAndExportsEveryFunction) {
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  EXPECT_TRUE(utl.boxes().empty());
#define EXPECT_EXPORTED(name) EXPECT_NE(nullptr, utl->name) << #name;
  UTL_EXPORTS(EXPECT_EXPORTED)
#undef EXPECT_EXPORTED
  EXPECT_TRUE(DriverLoaded());
  EXPECT_TRUE(EntryRegionExists());
}

// Each load is the first of a process again: the entry flag starts at 0.
TEST(Load, TwoHundredTimesLeavesNeitherRegionNorDriverBehind) {
  for (int i = 0; i < 200; ++i) {
    {
      Utl utl;
      ASSERT_TRUE(utl.loaded()) << "load " << i;
      ASSERT_EQ(0, utl->DlkGetEntryFlag()) << "load " << i;
      utl->DlkSetEntryFlag(1);
    }
    ASSERT_FALSE(EntryRegionExists()) << "after unload " << i;
    ASSERT_FALSE(DriverLoaded()) << "after unload " << i;
  }
}

// At the end of a process the detach releases nothing. A child's real exit
// cannot show that under Wine, whose loader ignores FreeLibrary once the
// process is ending: either detach looks the same from outside. So the
// client calls the library's entry point itself, as the system does then,
// and looks at what is left. In a child process, because the C runtime's
// entry code counts that detach and would skip the library's own at a later
// unload, keeping the driver and the region loaded for the tests after.
TEST(Load, DetachAtProcessEndLeavesTheDriverAndTheRegionInPlace) {
  harness::ProcessResult run =
      RunClient("load set 1 end-detach state get set 0 get");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode) << run.output;
  EXPECT_EQ(
      Texts({"loaded", "detach=1", "region=1 driver=1", "flag=1", "flag=0"}),
      Lines(run.output));
}

TEST(Load, ThreadsComingAndGoingChangeNothing) {
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  utl->DlkSetEntryFlag(1);
  for (int i = 0; i < 3; ++i) {
    int seen = -1;
    std::thread([&] { seen = utl->DlkGetEntryFlag(); }).join();
    EXPECT_EQ(1, seen);
  }
  EXPECT_EQ(1, utl->DlkGetEntryFlag());
  EXPECT_TRUE(DriverLoaded());
  EXPECT_TRUE(EntryRegionExists());
  unsigned char value = 0;
  EXPECT_EQ(0, utl->DlkI2CSWReadByte(0x97, &value));
}

// --- The entry flag ---------------------------------------------------

// Stored as 0 or 1, read back as the word holds it.
TEST(EntryFlag, StoresOneForEveryNonZeroValue) {
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  sim::HeldEntryRegion region(sim::HeldEntryRegion::kCreate);
  volatile LONG* words = region.words();
  ASSERT_NE(nullptr, words);
  for (int value : {7, -1, 1, 0x10000, INT_MIN}) {
    utl->DlkSetEntryFlag(0);
    utl->DlkSetEntryFlag(value);
    EXPECT_EQ(1, utl->DlkGetEntryFlag()) << value;
    EXPECT_EQ(1, words[0]) << value;
  }
  utl->DlkSetEntryFlag(0);
  EXPECT_EQ(0, utl->DlkGetEntryFlag());
  EXPECT_EQ(0, words[0]);
  words[0] = 5;
  EXPECT_EQ(5, utl->DlkGetEntryFlag());
}

// Another process sees this one's flag and this one the other's, until the
// last unload: the next load, here or there, starts again at 0.
TEST(EntryFlag, IsSharedWithAnotherProcessUntilTheLastUnload) {
  {
    Utl utl;
    ASSERT_TRUE(utl.loaded());
    utl->DlkSetEntryFlag(1);
    harness::ProcessResult run = RunClient("load get set 0 get unload");
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(Texts({"loaded", "flag=1", "flag=0"}), Lines(run.output));
    EXPECT_EQ(0, utl->DlkGetEntryFlag());
    utl->DlkSetEntryFlag(1);
  }
  EXPECT_FALSE(EntryRegionExists());
  harness::ProcessResult run = RunClient("load get set 1 unload");
  EXPECT_EQ(Texts({"loaded", "flag=0"}), Lines(run.output));
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  EXPECT_EQ(0, utl->DlkGetEntryFlag());
}

TEST(EntryFlag, OutlivesAnUnloadWhileAnotherProcessHoldsIt) {
  std::string events = "utl-test-" + std::to_string(GetCurrentProcessId());
  std::string loaded = events + "-loaded", checked = events + "-checked";
  HANDLE childLoaded = CreateEventA(nullptr, TRUE, FALSE, loaded.c_str());
  harness::ProcessResult run;
  std::thread child([&] {
    run = RunClient("load set 1 signal " + loaded + " wait " + checked +
                    " get unload");
  });
  bool seen = WaitForSingleObject(childLoaded, 30000) == WAIT_OBJECT_0;
  // The child stored 1 before this process loaded the library; the region
  // then outlives this process's unload, because the child holds it.
  int firstLoad = -1, secondLoad = -1;
  if (seen) {
    {
      Utl utl;
      if (utl.loaded()) firstLoad = utl->DlkGetEntryFlag();
    }
    Utl utl;
    if (utl.loaded()) secondLoad = utl->DlkGetEntryFlag();
    if (utl.loaded()) utl->DlkSetEntryFlag(0);
  }
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, checked.c_str());
  SetEvent(done);
  child.join();
  CloseHandle(done);
  CloseHandle(childLoaded);
  ASSERT_TRUE(seen) << run.output;
  EXPECT_EQ(1, firstLoad);
  EXPECT_EQ(1, secondLoad);
  EXPECT_EQ(Texts({"loaded", "flag=0"}), Lines(run.output));
  EXPECT_FALSE(EntryRegionExists());
}

}  // namespace
}  // namespace utltest
