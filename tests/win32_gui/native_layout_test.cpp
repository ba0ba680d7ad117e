// Which native windows exist, show and stack, decided without Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/window_fixture.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/native_kind.h"
#include "ui/win32/native_layout.h"
#include "ui/win32/native_text.h"

namespace kalmor::testing {
namespace {

class NativeLayoutTest : public WindowTest {};

TEST_F(NativeLayoutTest, ZOrderIsTheFocusOrderThenOtherWindowsThenGroupBoxes) {
  putEverything();
  frmKalmorChecker& w = load();
  const std::vector<Control*> order = ZOrder(w.controls(), w.focusOrder());
  const std::vector<Control*> focus(order.begin(), order.begin() + 7);
  EXPECT_EQ(focus, w.focusOrder());
  ASSERT_GE(order.size(), 3u);
  // rahmen(11), Frame3, rahmen(14) at the bottom; frameTime has no window.
  EXPECT_EQ(order[order.size() - 3], &w.rahmen11);
  EXPECT_EQ(order[order.size() - 2], &w.Frame3);
  EXPECT_EQ(order[order.size() - 1], &w.rahmen14);
  EXPECT_EQ(std::count(order.begin(), order.end(), &w.frameTime), 0);
  EXPECT_EQ(std::count(order.begin(), order.end(), &w.tbLanguage), 0);
  EXPECT_EQ(std::count(order.begin(), order.end(), &w.lblStatus), 1);
}

TEST_F(NativeLayoutTest, EveryNativeWindowHasItsOwnIdAboveTheDialogCommands) {
  putEverything();
  frmKalmorChecker& w = load();
  std::vector<int> ids;
  for (const Control* control : w.controls()) {
    if (NativeKindOf(*control) == NativeKind::None) continue;
    const int id = ControlId(control->name());
    EXPECT_GT(id, 2) << control->name();  // IDOK and IDCANCEL are 1 and 2
    EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 0) << control->name();
    ids.push_back(id);
  }
  EXPECT_EQ(ControlId("no such control"), 0);
}

TEST(NativeText, EveryLineBreakBecomesCrLf) {
  const struct {
    const char* caption;
    const char* shown;
  } cases[] = {
      {"", ""},
      {"one line", "one line"},
      {"Error number: 2\rThe file", "Error number: 2\r\nThe file"},
      {"a\r\nb", "a\r\nb"},
      {"a\nb", "a\r\nb"},
      {"a\r\rb\r", "a\r\n\r\nb\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithCrLf(c.caption), c.shown) << c.caption;
}

}  // namespace
}  // namespace kalmor::testing
