// After a failed run the result line's tool tip says why; its caption stays.
#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::testing {
namespace {

class ExitCodePlatform : public FakePlatform {
 public:
  ProcessExit processExit(const ProcessRecord& /*process*/) override {
    return {ProcessExit::Kind::Code, 3};
  }
};

TEST(FailureToolTip, AFailedRunSaysWhyUntilTheNextPress) {
  ExitCodePlatform platform;
  for (const char* name : {"test_#3.INP", "kmwin32.exe", "kmwin64.exe"}) {
    platform.put(name, "<Protokoll>\r\n");
  }
  HeadlessToolkit toolkit;
  frmKalmorChecker f(platform, toolkit);
  toolkit.attach(f);
  f.Form_Load();
  toolkit.choose(f.lstLanguage, 1);

  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblResult.caption(), "Solving file was not created:\rKM.OUT");
  EXPECT_EQ(f.lblResult.toolTip(), "Kalmor ended with exit code 3 without writing KM.OUT.");

  platform.solver.onExit = [&](const std::string&) { platform.put("KM.OUT", "solved\r\n"); };
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  EXPECT_EQ(f.lblResult.toolTip(), "");
}

}  // namespace
}  // namespace kalmor::testing
