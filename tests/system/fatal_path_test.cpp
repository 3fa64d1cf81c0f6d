// The plug-in's fatal paths of a missing or incomplete back end (an
// unsupported Windows is the platform tests'), each in a child process
// running the stand-in host: the log already holds the reason, then its
// message box (caption "Error", the error icon, owned by the desktop
// window), then the process ends with status 1 inside GetInterfacePtr.
#include <gtest/gtest.h>

#include "host_run.h"

using namespace system_test;

namespace {

const char kArgs[] = "--answer-boxes --window open@0 --run 500";

// Everything a fatal path must show: the boxes in order, the log ending in
// `logTail`, the host's note that the plug-in ended it, exit status 1, and
// no session.
void ExpectFatal(const HostRun& run, const std::vector<std::string>& boxes,
                 const std::string& logTail) {
  ASSERT_FALSE(run.process.timedOut) << run.process.output;
  EXPECT_EQ(1u, run.process.exitCode) << run.process.output;
  EXPECT_EQ(boxes, run.LinesStarting("host: message box"))
      << run.process.output;
  EXPECT_TRUE(EndsWith(run.log, logTail)) << run.log;
  EXPECT_EQ(0u, run.log.find(OnDisk(BannerLines(1000, 100)))) << run.log;
  // The process ended inside GetInterfacePtr: the host got no object back.
  EXPECT_TRUE(run.HasLine("host: calling GetInterfacePtr"))
      << run.process.output;
  EXPECT_TRUE(run.LinesStarting("host: GetInterfacePtr ->").empty())
      << run.process.output;
  EXPECT_TRUE(run.EventsStarting("Start").empty()) << run.process.output;
}

TEST(FatalPath, TandorUtlMissing) {
  HostFolder folder("win98", false);
  folder.Add("BtVid_32.Dll").Add("wdmI2cDll.dll");
  ExpectFatal(
      HostRun(folder, kArgs),
      {FatalBox("Error during loading ...\\n Can't load TandorUtl.DLL")},
      "> Loading tandorutl.dll ...\r\n"
      "> Error during loading ... Can't load TandorUtl.DLL");
}

TEST(FatalPath, TandorUtlRefusesItsLoadAfterItsOwnBox) {
  ExpectFatal(
      HostRun(HostFolder("win98"), kArgs,
              {std::string(SIMCARD_ENV) + "=i2c_init_ok=0"}),
      {"host: message box: caption \"TandorUtl\", icon none, owner none, "
       "text \"Init I2C error!\"; answered \"OK\"",
       FatalBox("Error during loading ...\\n Can't load TandorUtl.DLL")},
      "> Loading tandorutl.dll ...\r\n"
      "> Error during loading ... Can't load TandorUtl.DLL");
}

TEST(FatalPath, TandorUtlLacksDlkGetEntryFlag) {
  HostFolder folder("win98", false);
  folder.Add("BtVid_32.Dll")
      .Add("tandorutl.dll", SIM_VARIANT_UTL_NO_GETENTRYFLAG);
  ExpectFatal(HostRun(folder, kArgs),
              {FatalBox("Error during inmort ...\\nCan't import from "
                        "TandorUtl.DLL")},
              "> Loading tandorutl.dll ...   Ok!\r\n"
              "> Import finctions ..."
              "> Error during inmort ... Can't import from TandorUtl.DLL");
}

TEST(FatalPath, WdmI2cDllMissing) {
  HostFolder folder("win2k", false);
  folder.Add("TandorUtl.dll").Add("BtVid_32.Dll");
  ExpectFatal(
      HostRun(folder, kArgs),
      {FatalBox("Error during loading ...\\n Can't load wdmI2cDll.dll")},
      "> Loading wdmI2cDll.dll ...\r\n"
      "> Error during loading ... Can't load wdmI2cDll.dll");
}

TEST(FatalPath, WdmI2cDllLacksWrite3byte) {
  HostFolder folder("win2k", false);
  folder.Add("BtVid_32.Dll")
      .Add("wdmI2cDll.dll", SIM_VARIANT_WDM_NO_WRITE3BYTE);
  ExpectFatal(HostRun(folder, kArgs),
              {FatalBox("Error during inmort ...\\nCan't import from "
                        "wdmI2cDll.dll")},
              "> Loading wdmI2cDll.dll ...   Ok!\r\n"
              "> Import finctions ..."
              "> Error during inmort ... Can't import from wdmI2cDll.dll");
}

}  // namespace
