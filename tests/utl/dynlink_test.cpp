// The pass-through exports, their fixed results while an entry is empty,
// and a client's own calls of InitDynamicLinkage and FreeDynamicLinkage.

#include "card_fixture.h"

namespace utltest {
namespace {

// One pass-through export with a result, as PASS writes it: the export
// Dlk<name>, the driver function it forwards to, how many arguments it
// passes, its result while the entry is empty, and its call with the
// arguments taken from `a`.
struct PassThrough {
  const char* name;
  int function;
  int argc;
  int whenEmpty;
  int (*call)(const UtlApi& utl, const int* args);
};

#define PASS(name, argc, whenEmpty, ...)                       \
  PassThrough {                                                \
    "Dlk" #name, kDrv_##name, argc, whenEmpty,                 \
        [](const UtlApi& utl, [[maybe_unused]] const int* a) { \
          return utl.Dlk##name(__VA_ARGS__);                   \
        }                                                      \
  }

const PassThrough kPassThroughs[] = {
    PASS(Bt848SetVideoSource, 1, 1, a[0]),
    PASS(Bt848GetVideoSource, 1, 1, a[0]),
    PASS(Bt848SetBrightness, 1, 1, a[0]),
    PASS(Bt848GetBrightness, 1, 1, a[0]),
    PASS(Bt848SetContrast, 1, 1, a[0]),
    PASS(Bt848GetContrast, 1, 1, a[0]),
    PASS(Bt848SetHue, 1, 1, a[0]),
    PASS(Bt848GetHue, 1, 1, a[0]),
    PASS(Bt848SetSaturation, 1, 1, a[0]),
    PASS(Bt848GetSaturation, 1, 1, a[0]),
    PASS(Bt848SetVideoFormat, 1, 1, a[0]),
    PASS(GetGPDATABits, 4, 1, a[0], a[1], a[2], a[3]),
    PASS(GPIOIsInitOK, 0, 1),
    PASS(I2CIsInitOK, 0, 0),
    PASS(IsBt878Family, 0, 1),
    PASS(Bt848SetCCStatus, 1, 1, a[0]),
    PASS(Bt848UnLoadImage, 0, 1),
    PASS(I2CInitSWMode, 1, 1, a[0]),
};

const int kArgs[4] = {0x12345678, -2, 0, 0x7FFFFFFF};

// The call of `function` with the first `argc` of kArgs, answered `result`.
std::string Expected(int function, int argc, int result) {
  SimCall call = {function, argc, {}, result, 0};
  for (int i = 0; i < argc; ++i) call.args[i] = kArgs[i];
  return Notation(call);
}

using PassThroughExport = CardTest;

// The simulated driver computes each result from the call: a result that
// came back altered would not match the one it recorded.
TEST_F(PassThroughExport, ForwardsArgumentsInOrderAndReturnsTheResult) {
  for (const PassThrough& export_ : kPassThroughs) {
    card_->ClearRecords();
    int result = export_.call(utl_.api(), kArgs);
    EXPECT_EQ(Expected(export_.function, export_.argc, result), CallText())
        << export_.name;
  }
}

TEST_F(PassThroughExport, WithoutAResultForwardsItsArgument) {
  utl_->DlkSetGPIOMODE(kArgs[0]);
  EXPECT_EQ(Expected(kDrv_SetGPIOMODE, 1, 0), CallText());
}

using FreeDynamicLinkage = CardTest;

// Called twice, it still gives back the one reference to the driver: the
// unload at the end (CardTest::TearDown) finds the test's own the last one.
TEST_F(FreeDynamicLinkage, LeavesEveryEntryEmptyWithItsFixedResult) {
  utl_->FreeDynamicLinkage();
  utl_->FreeDynamicLinkage();
  for (const PassThrough& export_ : kPassThroughs) {
    EXPECT_EQ(export_.whenEmpty, export_.call(utl_.api(), kArgs))
        << export_.name;
  }
  utl_->DlkSetGPIOMODE(1);
  ExpectEveryTransactionFails();
  EXPECT_TRUE(LineCalls().empty()) << Notation(LineCalls());
}

// Called again, it keeps one reference: one free lets the driver go. After
// the free it binds the driver again.
TEST(InitDynamicLinkage, CalledAgainKeepsOneReferenceAndAfterFreeBindsAgain) {
  Utl utl;
  ASSERT_TRUE(utl.loaded());
  harness::BoxAnswerer catcher;
  EXPECT_EQ(1, utl->InitDynamicLinkage());
  EXPECT_EQ(1, utl->InitDynamicLinkage());
  EXPECT_TRUE(catcher.boxes().empty());
  unsigned char value = 0;
  EXPECT_EQ(0, utl->DlkI2CSWReadByte(0x97, &value));
  EXPECT_EQ(0xAA, value);
  utl->FreeDynamicLinkage();
  EXPECT_FALSE(DriverLoaded());
  EXPECT_EQ(1, utl->InitDynamicLinkage());
  ASSERT_TRUE(DriverLoaded());
  EXPECT_EQ(1, utl->DlkI2CIsInitOK());
  value = 0;
  EXPECT_EQ(0, utl->DlkI2CSWReadByte(0x97, &value));
  utl.Unload();
  EXPECT_FALSE(DriverLoaded());
}

// A client frees the driver and binds again while the process holds a
// driver variant that lacks functions: InitDynamicLinkage gets that one.
class RebindToAVariant : public CardTest {
 protected:
  // The variant lacks a function of the group that `groupBox` names: the
  // binding shows that box alone and returns 0.
  void Rebind(const char* variant, const std::string& groupBox) {
    utl_->FreeDynamicLinkage();
    driver_.Release();
    ASSERT_FALSE(DriverLoaded());
    ASSERT_TRUE(driver_.Load(variant));
    harness::BoxAnswerer catcher;
    ASSERT_EQ(0, utl_->InitDynamicLinkage());
    EXPECT_EQ(Texts({"Error|" + groupBox + "|icon=1|owner=0"}),
              Describe(catcher.boxes()));
    card_ = driver_.card();
    ASSERT_NE(nullptr, card_);
    card_->Reset();
  }
};

TEST_F(RebindToAVariant, EmptiesOnlyTheMissingEntries) {
  ASSERT_NO_FATAL_FAILURE(
      Rebind(SIM_VARIANT_NO_SETGPIE_BT848SETHUE, "Can't load GPIO function!"));
  EXPECT_EQ(1, utl_->DlkBt848SetHue(5));
  EXPECT_TRUE(LineCalls().empty());
  int args[1] = {5};
  EXPECT_EQ(SimDriverResult(kDrv_Bt848GetHue, args, 1),
            utl_->DlkBt848GetHue(5));
  EXPECT_EQ(1u, LineCalls().size());
}

TEST_F(RebindToAVariant, WithoutChipIdGivesItsFixedResult) {
  ASSERT_NO_FATAL_FAILURE(
      Rebind(SIM_VARIANT_NO_ISBT878FAMILY, "Can't load ChipID function!"));
  EXPECT_EQ(1, utl_->DlkIsBt878Family());
}

TEST_F(RebindToAVariant, WithoutALinePrimitiveFailsEveryTransaction) {
  ASSERT_NO_FATAL_FAILURE(
      Rebind(SIM_VARIANT_NO_I2CSWREADSCL, "Can't load software I2C function!"));
  ExpectEveryTransactionFails();
  EXPECT_TRUE(LineCalls().empty()) << Notation(LineCalls());
  EXPECT_EQ(1, utl_->DlkI2CIsInitOK());
}

}  // namespace
}  // namespace utltest
