// The simulated driver's exports: every driver function by its undecorated
// name with the C calling convention, each call recorded with its arguments
// in order and its result, results that depend on the arguments, and the
// variants that lack chosen functions.
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "driverApi.h"
#include "sim_fixture.h"
#include "harness.h"

namespace simtest {
namespace {

struct DriverFunctionInfo {
  const char* name;
  int argc;
  bool hasResult;
};

// "(int a, int b)" has two arguments, "(void)" none.
constexpr int CountArguments(const char* params) {
  int count = 0;
  for (const char* p = params; *p; ++p)
    if (p[0] == 'i' && p[1] == 'n' && p[2] == 't' && p[3] == ' ') ++count;
  return count;
}

#define SIM_TEST_FUNCTION_INFO(name, group, result, params, args) \
  {#name, CountArguments(#params), std::strcmp(#result, "void") != 0},
const DriverFunctionInfo kFunctions[] = {
    DRIVER_FUNCTIONS(SIM_TEST_FUNCTION_INFO)};
#undef SIM_TEST_FUNCTION_INFO

// The functions whose results are not SimDriverResult's.
const std::set<int> kBusFunctions = {
    kDrv_I2CIsInitOK,  kDrv_I2CInitSWMode, kDrv_I2CSWSetSCL, kDrv_I2CSWSetSDA,
    kDrv_I2CSWReadSCL, kDrv_I2CSWReadSDA,  kDrv_SetGPIOMODE};

// cdecl: the caller removes the arguments, so a function may be called with
// more arguments than it takes; it sees the first ones.
using AnyDriverFunction = int(__cdecl*)(int, int, int, int);

using DriverExports = SimTest;

TEST_F(DriverExports, AllFortyTwoFunctionsExistByTheirPlainNames) {
  ASSERT_EQ(sizeof kFunctions / sizeof kFunctions[0], 42u);
  for (const DriverFunctionInfo& function : kFunctions)
    EXPECT_NE(GetProcAddress(Driver(), function.name), nullptr)
        << function.name;
  for (const char* name : {"SimGetControl", "SimWdmReadByte", "SimWdmWrite3"})
    EXPECT_NE(GetProcAddress(Driver(), name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(Driver(), "_I2CSWSetSCL"), nullptr);
}

TEST_F(DriverExports, EveryCallIsRecordedWithItsArgumentsInOrder) {
  const int arguments[4] = {11, -22, 0x33333333, 44};
  for (int function = 0; function < kDriverFunctionCount; ++function) {
    const DriverFunctionInfo& info = kFunctions[function];
    sim_->ClearRecords();
    auto call = Export<AnyDriverFunction>(Driver(), info.name);
    const int result =
        call(arguments[0], arguments[1], arguments[2], arguments[3]);

    const std::vector<SimCall> calls = Calls();
    ASSERT_EQ(calls.size(), 1u) << info.name;
    EXPECT_EQ(calls[0].function, function) << info.name;
    ASSERT_EQ(calls[0].argc, info.argc) << info.name;
    for (int i = 0; i < info.argc; ++i)
      EXPECT_EQ(calls[0].args[i], arguments[i]) << info.name << " arg " << i;
    for (int i = info.argc; i < 4; ++i) EXPECT_EQ(calls[0].args[i], 0);
    if (info.hasResult) {
      EXPECT_EQ(calls[0].result, result) << info.name;
    }
    if (!kBusFunctions.count(function)) {
      EXPECT_EQ(result, SimDriverResult(function, arguments, info.argc))
          << info.name;
    }
  }
}

TEST_F(DriverExports, ResultsChangeWithEachArgumentAndItsPlace) {
  auto getGpData =
      Export<int(__cdecl*)(int, int, int, int)>(Driver(), "GetGPDATABits");
  auto getHue = Export<int(__cdecl*)(int)>(Driver(), "Bt848GetHue");
  auto getContrast = Export<int(__cdecl*)(int)>(Driver(), "Bt848GetContrast");
  std::set<int> results = {getGpData(1, 2, 3, 4), getGpData(2, 1, 3, 4),
                           getGpData(1, 2, 4, 3), getGpData(1, 2, 3, 5)};
  EXPECT_EQ(results.size(), 4u);
  EXPECT_NE(getHue(7), getHue(8));
  EXPECT_NE(getHue(7), getContrast(7));
  EXPECT_EQ(getHue(7), getHue(7));
}

TEST_F(DriverExports, LinePrimitivesAndInitDefaults) {
  auto isInitOk = Export<int(__cdecl*)(void)>(Driver(), "I2CIsInitOK");
  EXPECT_EQ(isInitOk(), 1);
  EXPECT_EQ(lines_.initSwMode(6000), 0);
  EXPECT_EQ(lines_.setScl(0), 0);
  EXPECT_EQ(lines_.setSda(0), 0);
  EXPECT_EQ(lines_.readScl(), 0);
  const std::vector<SimCall> calls = Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[1].function, kDrv_I2CInitSWMode);
  EXPECT_EQ(calls[1].args[0], 6000);
  EXPECT_EQ(calls[4].function, kDrv_I2CSWReadSCL);
  EXPECT_EQ(calls[4].argc, 0);
  EXPECT_LE(calls[0].timeUs, calls[4].timeUs);
  EXPECT_LE(calls[4].timeUs, sim_->NowUs());
}

TEST_F(DriverExports, RecordsKeepTheMostRecentCalls) {
  sim_->SetTracing(0);
  const int total = SIM_MAX_CALLS + 1000;
  for (int i = 0; i < total; ++i) lines_.setScl(i & 1);
  EXPECT_EQ(sim_->GetCalls(nullptr, 0), SIM_MAX_CALLS);
  SimCall last[1];
  std::vector<SimCall> calls(SIM_MAX_CALLS);
  sim_->GetCalls(calls.data(), SIM_MAX_CALLS);
  EXPECT_EQ(calls.front().args[0], 1000 & 1);
  EXPECT_EQ(calls.back().args[0], (total - 1) & 1);
  EXPECT_EQ(sim_->GetCalls(last, 1), SIM_MAX_CALLS) << "count, not copied";
  EXPECT_EQ(last[0].args[0], calls.front().args[0]);
}

struct Variant {
  const char* name;
  std::vector<std::string> missing;
};

const Variant kVariants[] = {
    {SIM_VARIANT_NO_I2CSWREADSCL, {"I2CSWReadSCL"}},
    {SIM_VARIANT_NO_I2CHWWRITE3, {"I2CHWWrite3"}},
    {SIM_VARIANT_NO_SETGPIE_BT848SETHUE, {"SetGPIE", "Bt848SetHue"}},
    {SIM_VARIANT_NO_BT848SETCCSTATUS, {"Bt848SetCCStatus"}},
    {SIM_VARIANT_NO_BT848UNLOADIMAGE, {"Bt848UnLoadImage"}},
    {SIM_VARIANT_NO_ISBT878FAMILY, {"IsBt878Family"}},
    {SIM_VARIANT_NO_BT848SETSATURATION, {"Bt848SetSaturation"}},
};

TEST(DriverVariants, EachLacksExactlyItsFunctions) {
  for (const Variant& variant : kVariants) {
    HMODULE module = harness::LoadSimDriver(variant.name);
    ASSERT_NE(module, nullptr) << variant.name;
    char path[MAX_PATH];
    GetModuleFileNameA(module, path, sizeof path);
    EXPECT_NE(std::string(path).find(std::string("\\variants\\") +
                                     variant.name + "\\BtVid_32.Dll"),
              std::string::npos)
        << path;
    for (const DriverFunctionInfo& function : kFunctions) {
      bool omitted = false;
      for (const std::string& name : variant.missing)
        omitted = omitted || name == function.name;
      EXPECT_EQ(GetProcAddress(module, function.name) == nullptr, omitted)
          << variant.name << ": " << function.name;
    }
    EXPECT_NE(GetProcAddress(module, "SimGetControl"), nullptr);
    FreeLibrary(module);
  }
}

}  // namespace
}  // namespace simtest
