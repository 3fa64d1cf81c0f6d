// The simulated "wdmI2cDll.dll" and the fixtures for the plug-in's import
// failures.
#include <windows.h>

#include "sim_fixture.h"
#include "harness.h"

namespace simtest {
namespace {

class Wdm : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    library_ = LoadLibraryA((harness::ExeDir() + "wdmI2cDll.dll").c_str());
    ASSERT_NE(library_, nullptr);
    readByte_ = Export<int(__cdecl*)(int, int*)>(library_, "readByte");
    write3byte_ = Export<int(__cdecl*)(int, int, int)>(library_, "write3byte");
    ASSERT_NE(readByte_, nullptr);
    ASSERT_NE(write3byte_, nullptr);
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }

  HMODULE library_ = nullptr;
  int(__cdecl* readByte_)(int, int*) = nullptr;
  int(__cdecl* write3byte_)(int, int, int) = nullptr;
};

TEST_F(Wdm, ReadsTheSameReceiver) {
  int code = 0;
  EXPECT_EQ(readByte_(0x97, &code), 0);
  EXPECT_EQ(code, 0xAA);
  sim_->PressKey(18);
  code = 0;
  EXPECT_EQ(readByte_(0x97, &code), 0);
  EXPECT_EQ(code, 18);
  EXPECT_EQ(readByte_(0x91, &code), 0);
  EXPECT_EQ(code, 0x5A);

  const std::vector<SimKeyRead> reads = KeyReads();
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[1].code, 18);
  EXPECT_EQ(reads[1].viaWdm, 1);
  EXPECT_EQ(sim_->TransactionCount(), 3);
  EXPECT_EQ(Frame(), "") << "no traffic on the line primitives";
}

TEST_F(Wdm, WritesSwitchSound) {
  EXPECT_EQ(write3byte_(0x96, 2, 0x20), 0);
  EXPECT_EQ(sim_->SoundState(), 1);
  EXPECT_EQ(write3byte_(0x96, 2, 0x40), 0);
  EXPECT_EQ(sim_->SoundState(), 0);
  EXPECT_EQ(write3byte_(0x90, 2, 0x20), 0);
  std::vector<std::pair<int, int>> writes;  // value, viaWdm
  for (const SimSoundWrite& write : SoundWrites())
    writes.push_back({write.value, write.viaWdm});
  EXPECT_EQ(writes, (std::vector<std::pair<int, int>>{{0x20, 1}, {0x40, 1}}));
}

TEST_F(Wdm, UnknownAddressesAndWithheldAcknowledgesFail) {
  int code = 7;
  EXPECT_EQ(readByte_(0xA1, &code), 1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(write3byte_(0x94, 2, 0x20), 1);
  EXPECT_EQ(readByte_(0x97, nullptr), 1);

  AddFault(SIM_FAULT_NACK_BYTE, 2, -1, 1);
  EXPECT_EQ(write3byte_(0x96, 2, 0x20), 1);
  EXPECT_TRUE(SoundWrites().empty());
  EXPECT_EQ(write3byte_(0x96, 2, 0x20), 0) << "the fault covered one";
}

TEST_F(Wdm, ReadFaults) {
  sim_->PressKey(18);
  AddFault(SIM_FAULT_WDM_READ_UNTOUCHED, 0, -1, 1);
  int code = 12345;
  EXPECT_EQ(readByte_(0x97, &code), 0);
  EXPECT_EQ(code, 12345);

  AddFault(SIM_FAULT_WDM_READ_FAILS, 9, -1, 1);
  EXPECT_EQ(readByte_(0x97, &code), 9);
  EXPECT_EQ(code, 12345);
  AddFault(SIM_FAULT_WDM_READ_FAILS, 0, -1, 1);
  EXPECT_EQ(readByte_(0x97, &code), 1) << "a failure is never 0";

  EXPECT_EQ(readByte_(0x97, &code), 0);
  EXPECT_EQ(code, 18);
  EXPECT_EQ(KeyReads().size(), 1u);
}

TEST(ImportFailureFixtures, EachLacksTheOneFunction) {
  // The wdm variant needs the simulated driver, found in the bin folder.
  HMODULE wdm = LoadLibraryA(
      harness::BinFile("wdmI2cDll.dll", SIM_VARIANT_WDM_NO_WRITE3BYTE).c_str());
  ASSERT_NE(wdm, nullptr);
  EXPECT_NE(GetProcAddress(wdm, "readByte"), nullptr);
  EXPECT_EQ(GetProcAddress(wdm, "write3byte"), nullptr);
  FreeLibrary(wdm);

  HMODULE utl = LoadLibraryA(
      harness::BinFile("tandorutl.dll", SIM_VARIANT_UTL_NO_GETENTRYFLAG)
          .c_str());
  ASSERT_NE(utl, nullptr);
  for (const char* name :
       {"DlkI2CSWReadByte", "DlkI2CSWWrite3", "DlkSetEntryFlag"})
    EXPECT_NE(GetProcAddress(utl, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(utl, "DlkGetEntryFlag"), nullptr);
  FreeLibrary(utl);
}

}  // namespace
}  // namespace simtest
