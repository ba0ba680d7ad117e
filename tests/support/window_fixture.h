// A checker window on the in-memory platform, driven by the headless front-end.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "kalmor_version.h"
#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::testing {

#define KALMOR_TEXT_OF(x) #x
#define KALMOR_NUMBER_TEXT(x) KALMOR_TEXT_OF(x)
// The title's version as the window shows it, from the version set in the build.
#define KALMOR_TITLE_VERSION KALMOR_NUMBER_TEXT(KALMOR_VERSION_MAJOR) "." KALMOR_NUMBER_TEXT(KALMOR_VERSION_MINOR) " Build " KALMOR_NUMBER_TEXT(KALMOR_VERSION_REVISION)

inline constexpr const char* kPressStartDe = "Bitte betätigen Sie den \"Starten\"-Button";
inline constexpr const char* kPassedDe = "Test erfolgreich abgeschlossen!";

// What the window shows: for every control its caption, colours, picture,
// items, whether it is visible, enabled and focused. Compared as a whole, or
// as what changed since an earlier moment, so that nothing changes unseen.
using Shown = std::map<std::string, std::string>;
inline Shown ShownBy(const frmKalmorChecker& f, const HeadlessToolkit& toolkit) {
  const auto colour = [](Colour c) -> std::string {
    if (c == kBlue || c == kRed || c == kBlack) return c == kBlue ? " blue" : c == kRed ? " red" : " black";
    return c.kind == Colour::Kind::Rgb ? " rgb" : c.kind == Colour::Kind::ButtonFace ? " face" : "";
  };
  const char* pictures[] = {" none", " information", " error", " warning", " key"};
  Shown shown;
  for (const Control* c : f.controls()) {
    std::string& s = shown[c->name()];
    if (!c->visible()) {
      s = " hidden";
      continue;
    }
    if (const auto* form = dynamic_cast<const Form*>(c)) s = form->caption();
    if (const auto* frame = dynamic_cast<const Frame*>(c)) s = frame->caption();
    if (const auto* box = dynamic_cast<const TextBox*>(c)) s = std::to_string(box->text().size()) + " bytes";
    if (const auto* image = dynamic_cast<const Image*>(c)) s = pictures[int(image->picture())];
    if (const auto* button = dynamic_cast<const Button*>(c)) s = button->caption() + pictures[int(button->picture())];
    if (const auto* list = dynamic_cast<const ComboBox*>(c)) s = std::to_string(list->listIndex()) + " of " + ::testing::PrintToString(list->items());
    if (const auto* label = dynamic_cast<const Label*>(c)) {
      s = label->caption() + colour(label->foreColour()) + (label->backColour() == Colour::buttonFace() ? "" : " on" + colour(label->backColour())) +
          (label->bold() ? " bold" : "") + (label->toolTip().empty() ? "" : " tip: " + label->toolTip());
    }
    s += std::string(c->enabled() ? "" : " off") + (toolkit.focused() == c ? " focus" : "");
  }
  return shown;
}
// What differs in now from seen, which becomes now.
inline Shown Changes(Shown& seen, const Shown& now) {
  Shown changed;
  for (const auto& [name, what] : now) if (seen[name] != what) changed[name] = what;
  seen = now;
  return changed;
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
    lastSeen = ShownBy(f, toolkit);
  }
  Shown changes() { return Changes(lastSeen, ShownBy(f, toolkit)); }
  FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker f{platform, toolkit};
  Shown lastSeen;
};

class WindowTest : public ::testing::Test {
 protected:
  void putEverything() { PutEverything(platform); }
  frmKalmorChecker& load() {
    window = std::make_unique<frmKalmorChecker>(platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    lastSeen = ShownBy(*window, toolkit);
    return *window;
  }
  // What changed since load or the last call; now: a moment taken earlier.
  Shown changes() { return Changes(lastSeen, ShownBy(*window, toolkit)); }
  Shown changes(const Shown& now) { return Changes(lastSeen, now); }

  FakePlatform platform;
  HeadlessToolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
  Shown lastSeen;
};

}  // namespace kalmor::testing
