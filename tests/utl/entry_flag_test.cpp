// The entry flag: stored as 0 or 1, shared by every process that has the
// library loaded, and back at 0 once the last of them has unloaded it.

#include <climits>
#include <thread>

#include "card_fixture.h"

namespace utltest {
namespace {

// The region's first word as this process sees it through a view of its own.
struct RegionWord {
  RegionWord() = default;
  RegionWord(const RegionWord&) = delete;
  ~RegionWord() {
    if (word) UnmapViewOfFile(const_cast<LONG*>(word));
    if (mapping) CloseHandle(mapping);
  }
  HANDLE mapping =
      OpenFileMappingA(FILE_MAP_WRITE, FALSE, TANDORUTL_REGION_NAME);
  volatile LONG* word = mapping ? static_cast<volatile LONG*>(MapViewOfFile(
                                      mapping, FILE_MAP_WRITE, 0, 0, 0))
                                : nullptr;
};

std::string EventName(const char* what) {
  return "utl-test-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

// Stored as 0 or 1, read back as the word holds it.
TEST(EntryFlag, StoresOneForEveryNonZeroValue) {
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  RegionWord region;
  ASSERT_NE(nullptr, region.word);
  for (int value : {7, -1, 1, 0x10000, INT_MIN}) {
    utl->DlkSetEntryFlag(0);
    utl->DlkSetEntryFlag(value);
    EXPECT_EQ(1, utl->DlkGetEntryFlag()) << value;
    EXPECT_EQ(1, *region.word) << value;
  }
  utl->DlkSetEntryFlag(0);
  EXPECT_EQ(0, utl->DlkGetEntryFlag());
  EXPECT_EQ(0, *region.word);
  *region.word = 5;
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
  std::string loaded = EventName("loaded"), checked = EventName("checked");
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
