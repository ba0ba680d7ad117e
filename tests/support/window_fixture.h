// A checker window on the in-memory platform, driven by the headless front-end.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::testing {

class WindowTest : public ::testing::Test {
 protected:
  // All three tasks and both solver builds, on a 64-bit German system.
  void putEverything() {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP", "kmwin32.exe",
                             "kmwin64.exe"}) {
      platform.put(name, "line\r\n<Protokoll>\r\n");
    }
  }

  frmKalmorChecker& load() {
    window = std::make_unique<frmKalmorChecker>(platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    return *window;
  }

  frmKalmorChecker& w() { return *window; }

  FakePlatform platform;
  HeadlessToolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
};

}  // namespace kalmor::testing
