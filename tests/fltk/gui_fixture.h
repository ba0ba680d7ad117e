// The real checker window on FLTK over the real platform, in a temporary
// folder with our stand-in solver as both solver builds. The event loop is
// not entered: tests pump it themselves through the probe.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/create_platform.h"
#include "tests/faults/checker_folder.h"
#include "tests/support/fltk/widget_probe.h"
#include "ui/fltk/fltk_checker.h"

namespace kalmor::testing {

// Thrown where the program would end.
struct ProgramEnded {};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* why = std::getenv("KALMOR_GUI_SKIP")) GTEST_SKIP() << why;
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display: run the GUI tests under xvfb-run";
    scratch_.emplace(KALMOR_STANDIN_SOLVER, "fltk");
  }

  void TearDown() override {
    probe_.reset();
    checker_.reset();
    platform_.reset();
  }

  const std::filesystem::path& folder() const { return scratch_->folder; }
  void task(const std::string& body, const char* name = "test_#3.INP") { scratch_->task(body, name); }

  // Start-up, widgets, shown; returns once the window is on screen.
  frmKalmorChecker& open() {
    platform_ = CreateSystemPlatform(folder().string());
    checker_ = std::make_unique<FltkChecker>(*platform_, [] { throw ProgramEnded{}; });
    checker_->open();
    probe_ = std::make_unique<WidgetProbe>(checker_->toolkit());
    probe_->pumpUntil([this] { return probe_->mapped(); }, std::chrono::seconds(10));
    return checker_->window();
  }

  std::string inLanguage(const char* deutsch, const char* english) {
    return checker_->window().lstLanguage.listIndex() == 0 ? deutsch : english;
  }

  WidgetProbe& probe() { return *probe_; }

  std::optional<CheckerFolder> scratch_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<FltkChecker> checker_;
  std::unique_ptr<WidgetProbe> probe_;
};

}  // namespace kalmor::testing
