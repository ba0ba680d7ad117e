#include "ui/fltk/tab_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

std::vector<std::string> Names(const std::vector<Control*>& controls) {
  std::vector<std::string> names;
  for (const Control* c : controls) names.push_back(c->name());
  return names;
}

TEST(ChildrenInTabOrder, CheckerWindowFocusStopsComeFirst) {
  testing::FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker w(platform, toolkit);
  EXPECT_EQ(Names(ChildrenInTabOrder(w.controls(), w.focusOrder(), w.form)),
            (std::vector<std::string>{"cmdOK", "cmdClose", "cmdDummy", "Frame3", "rahmen(11)",
                                      "rahmen(14)", "lblTestvariante", "lbl(28)", "tbLanguage"}));
  EXPECT_EQ(Names(ChildrenInTabOrder(w.controls(), w.focusOrder(), w.Frame3)),
            (std::vector<std::string>{"lstTask", "lstKalmorCallingMode", "lstKalmorBitVersion",
                                      "lstLanguage", "lblLanguage", "lblTask", "lblMode",
                                      "Label1"}));
  EXPECT_EQ(Names(ChildrenInTabOrder(w.controls(), w.focusOrder(), w.rahmen14)),
            (std::vector<std::string>{"bild(0)", "lblStatus", "frameTime", "lblResult"}));
}

TEST(ChildrenInTabOrder, AFrameTakesThePlaceOfItsEarliestStopAtAnyDepth) {
  Form form("form", Rect{}, "", Picture::None);
  Frame outer("outer", &form, Rect{}, "", true);
  Frame inner("inner", &outer, Rect{}, "", true);
  Button deep("deep", &inner, Rect{}, "", Picture::None);
  Button late("late", &form, Rect{}, "", Picture::None);
  Button early("early", &form, Rect{}, "", Picture::None);
  Label label("label", &form, Rect{}, "", false);
  const std::vector<Control*> controls{&form, &label, &outer, &inner, &deep, &late, &early};
  EXPECT_EQ(Names(ChildrenInTabOrder(controls, {&early, &deep, &late}, form)),
            (std::vector<std::string>{"early", "outer", "late", "label"}));
  EXPECT_EQ(Names(ChildrenInTabOrder(controls, {}, form)),
            (std::vector<std::string>{"label", "outer", "late", "early"}));
}

}  // namespace
}  // namespace kalmor
