// The real checker window on FLTK over the real platform, in a checker folder
// with our stand-in solver as both solver builds and German texts. The event
// loop is not entered: tests pump it themselves through the probe.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/support/checker_folder.h"
#include "tests/support/fltk/widget_probe.h"
#include "ui/fltk/fltk_checker.h"

namespace kalmor::testing {

// Thrown where the program would end.
struct ProgramEnded {};

class GuiTest : public ::testing::Test, public CheckerFolder {
 protected:
  GuiTest() : CheckerFolder(KALMOR_STANDIN_SOLVER, "fltk") {}

  void SetUp() override {
    if (const char* why = std::getenv("KALMOR_GUI_SKIP")) GTEST_SKIP() << why;
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display: run the GUI tests under xvfb-run";
  }

  // Start-up, widgets, shown; returns once the window is on screen.
  frmKalmorChecker& open() {
    platform = std::make_unique<PosixPlatform>(folder.string(), base / "root");
    checker_ = std::make_unique<FltkChecker>(*platform, [] { throw ProgramEnded{}; });
    checker_->open();
    probe_ = std::make_unique<WidgetProbe>(checker_->toolkit());
    probe_->pumpUntil([this] { return probe_->mapped(); }, std::chrono::seconds(10));
    return checker_->window();
  }

  WidgetProbe& probe() { return *probe_; }

  // Destroyed in this order, before the platform.
  std::unique_ptr<FltkChecker> checker_;
  std::unique_ptr<WidgetProbe> probe_;
};

}  // namespace kalmor::testing
