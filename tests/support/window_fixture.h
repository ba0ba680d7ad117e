// A checker window on the in-memory platform, driven by the headless front-end.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::testing {

inline constexpr const char* kPressStartDe = "Bitte betätigen Sie den \"Starten\"-Button";
inline constexpr const char* kPassedDe = "Test erfolgreich abgeschlossen!";

// What the window shows once a press is handled, and the outcome it gives,
// compared as a whole.
struct Shown {
  std::string status, result;
  Colour resultColour;
  Picture picture;
  RunOutcome outcome;
  std::string button = "&Start";
  bool operator==(const Shown&) const = default;
};
inline Shown ShownBy(const frmKalmorChecker& f) {
  return {f.lblStatus.caption(), f.lblResult.caption(), f.lblResult.foreColour(), f.bild0.picture(),
          f.Outcome, f.cmdOK.caption()};
}
inline void PrintTo(const Shown& s, std::ostream* os) {
  *os << "{" << s.status << " | " << s.result << " | colour " << int(s.resultColour.kind) << ":"
      << int(s.resultColour.r) << " | picture " << int(s.picture) << " | outcome " << int(s.outcome)
      << " | " << s.button << "}";
}

// All three tasks and both solver builds.
inline void PutEverything(FakePlatform& platform) {
  for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP", "kmwin32.exe", "kmwin64.exe"}) {
    platform.put(name, "line\r\n<Protokoll>\r\n");
  }
}

// A loaded window on a platform of its own, for one row of a table.
struct LoadedWindow {
  explicit LoadedWindow(const std::function<void(FakePlatform&)>& arrange) {
    arrange(platform);
    toolkit.attach(f);
    f.Form_Load();
  }
  FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker f{platform, toolkit};
};

class WindowTest : public ::testing::Test {
 protected:
  void putEverything() { PutEverything(platform); }
  frmKalmorChecker& load() {
    window = std::make_unique<frmKalmorChecker>(platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    return *window;
  }

  FakePlatform platform;
  HeadlessToolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
};

}  // namespace kalmor::testing
