// The real checker window on FLTK over the real platform, in a temporary
// folder with our stand-in solver as both solver builds. The event loop is
// not entered: tests pump it themselves through the probe.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/create_platform.h"
#include "ui/fltk/fltk_checker.h"
#include "tests/support/fltk/widget_probe.h"

namespace kalmor::testing {

// Thrown where the program would end.
struct ProgramEnded {};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* why = std::getenv("KALMOR_GUI_SKIP")) GTEST_SKIP() << why;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      GTEST_SKIP() << "no X display: run the GUI tests under xvfb-run";
    }
    char pattern[] = "/tmp/kalmor-fltk-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    for (const char* solver : {"kmwin32.exe", "kmwin64.exe"}) {
      std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder_ / solver);
    }
  }

  void TearDown() override {
    probe_.reset();
    checker_.reset();
    platform_.reset();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  void task(const std::string& body, const char* name = "test_#3.INP") {
    std::ofstream(folder_ / name, std::ios::binary) << body;
  }

  // Start-up, widgets, shown; returns once the window is on screen.
  frmKalmorChecker& open() {
    platform_ = CreateSystemPlatform(folder_.string());
    checker_ = std::make_unique<FltkChecker>(*platform_, [] { throw ProgramEnded{}; });
    checker_->open();
    probe_ = std::make_unique<WidgetProbe>(checker_->toolkit());
    probe_->pumpUntil([this] { return probe_->mapped(); }, std::chrono::seconds(10));
    return checker_->window();
  }

  bool german() { return checker_->window().lstLanguage.listIndex() == 0; }
  std::string inLanguage(const char* deutsch, const char* english) {
    return german() ? deutsch : english;
  }

  WidgetProbe& probe() { return *probe_; }

  std::filesystem::path folder_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<FltkChecker> checker_;
  std::unique_ptr<WidgetProbe> probe_;
};

}  // namespace kalmor::testing
