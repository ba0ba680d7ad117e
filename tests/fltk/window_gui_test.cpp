// The checker window as FLTK shows it: layout, texts, language switch, keys.
#include <string>
#include <vector>

#include "tests/fltk/gui_fixture.h"
#include "ui/pixel_layout.h"

namespace kalmor::testing {
namespace {

using Strings = std::vector<std::string>;

class CheckerWindow : public GuiTest {
 protected:
  void allTasks() {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP"}) {
      task("Stipulation\r\n<Protokoll>\r\n", name);
    }
  }
};

TEST_F(CheckerWindow, OpensCentredAtItsDesignedFixedSize) {
  allTasks();
  open();
  ASSERT_TRUE(probe().mapped());
  EXPECT_EQ(probe().title(), inLanguage("Kalmor Funktionstester 3.0 Build 25",
                                        "Kalmor function tester 3.0 Build 25"));
  const PixelRect area = probe().windowArea();
  if (probe().dpi() == 96) {
    EXPECT_EQ(area.w, 344);
    EXPECT_EQ(area.h, 251);
  } else {
    EXPECT_EQ(area.w, TwipsToPixels(5160, probe().dpi()));
    EXPECT_EQ(area.h, TwipsToPixels(3765, probe().dpi()));
  }
  EXPECT_EQ(area, CentredIn(probe().screenWorkArea(), area.w, area.h));
  EXPECT_TRUE(probe().fixedSize());
  EXPECT_TRUE(probe().hasIconOfSize(16, 16));
}

TEST_F(CheckerWindow, WidgetsShowTheControlsAfterStartUp) {
  allTasks();
  auto& w = open();
  if (probe().dpi() == 96) {
    EXPECT_EQ(probe().area(w.rahmen(11)), (PixelRect{8, 8, 329, 45}));
    EXPECT_EQ(probe().area(w.lstLanguage), (PixelRect{20, 92, 77, 21}));
    EXPECT_EQ(probe().area(w.bild(0)), (PixelRect{20, 146, 16, 16}));
    EXPECT_EQ(probe().area(w.lblResult), (PixelRect{44, 172, 261, 29}));
    EXPECT_EQ(probe().area(w.cmdOK), (PixelRect{188, 216, 73, 25}));
    EXPECT_EQ(probe().area(w.cmdDummy).x, -80);  // moved out of sight by start-up
  }
  EXPECT_TRUE(probe().shown(w.cmdDummy));

  EXPECT_EQ(probe().items(w.lstTask), (Strings{"#3", "#4", "s#7"}));
  EXPECT_EQ(probe().selected(w.lstTask), 0);
  EXPECT_EQ(probe().items(w.lstKalmorBitVersion), w.lstKalmorBitVersion.items());
  EXPECT_EQ(probe().selected(w.lstKalmorBitVersion), w.lstKalmorBitVersion.listIndex());
  EXPECT_EQ(probe().items(w.lstKalmorCallingMode), (Strings{"1", "2", "3", "4"}));
  EXPECT_EQ(probe().selected(w.lstKalmorCallingMode), 0);
  EXPECT_EQ(probe().items(w.lstLanguage), (Strings{"Deutsch", "English"}));

  EXPECT_EQ(probe().text(w.lblOSVersion), w.lblOSVersion.caption());
  EXPECT_EQ(probe().text(w.rahmen(14)), inLanguage("Prüfstatus", "Testing status"));
  EXPECT_EQ(probe().text(w.lblStatus), inLanguage("Bitte betätigen Sie den \"Starten\"-Button",
                                                  "Please press the \"Start\" button"));
  EXPECT_EQ(probe().text(w.cmdClose), inLanguage("Schliessen", "Close"));
  EXPECT_EQ(probe().text(w.frameTime), "");
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  EXPECT_EQ(probe().toolTip(w.lblTimer),
            "Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst");

  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Information);
  EXPECT_EQ(probe().picture(w.cmdOK), Picture::Warning);
  EXPECT_EQ(probe().picture(w.cmdClose), Picture::Error);
  EXPECT_EQ(probe().picture(w.cmdDummy), Picture::Information);

  const std::vector<const Control*> hiddenOnes{&w.frameTime,       &w.lbl1,    &w.lblTimer,
                                              &w.lblTestvariante, &w.lbl(28), &w.tbLanguage};
  for (const Control* hidden : hiddenOnes) {
    EXPECT_FALSE(probe().shown(*hidden)) << hidden->name();
  }
  EXPECT_TRUE(probe().active(w.cmdOK));
  EXPECT_TRUE(probe().hasFocus(w.cmdOK));
}

TEST_F(CheckerWindow, PickingTheOtherLanguageInTheListRewritesTheWindow) {
  allTasks();
  auto& w = open();
  const bool wasGerman = german();
  const int labelWidth = probe().area(w.lblLanguage).w;
  probe().pick(w.lstLanguage, wasGerman ? 1 : 0);
  ASSERT_NE(german(), wasGerman);
  EXPECT_EQ(probe().selected(w.lstLanguage), wasGerman ? 1 : 0);
  EXPECT_EQ(probe().title(), inLanguage("Kalmor Funktionstester 3.0 Build 25",
                                        "Kalmor function tester 3.0 Build 25"));
  EXPECT_EQ(probe().text(w.Frame3), inLanguage("Testeinstellungen", "Test settings"));
  EXPECT_EQ(probe().text(w.lblLanguage), inLanguage("Sprache:", "Language:"));
  EXPECT_EQ(probe().text(w.cmdOK), inLanguage("Starten", "Start"));
  EXPECT_EQ(probe().text(w.lblStatus), inLanguage("Bitte betätigen Sie den \"Starten\"-Button",
                                                  "Please press the \"Start\" button"));
  // Labels sized to their text follow it.
  EXPECT_NE(probe().area(w.lblLanguage).w, labelWidth);
  EXPECT_GT(probe().area(w.lblLanguage).w, 0);
}

TEST_F(CheckerWindow, WithoutTasksStartIsGreyedAndCloseHasTheFocus) {
  auto& w = open();
  EXPECT_EQ(probe().items(w.lstTask), Strings{});
  EXPECT_EQ(probe().selected(w.lstTask), -1);
  EXPECT_FALSE(probe().active(w.cmdOK));
  EXPECT_TRUE(probe().hasFocus(w.cmdClose));
}

TEST_F(CheckerWindow, AMissingSolverShowsTheErrorPicture) {
  allTasks();
  std::filesystem::remove(folder_ / "kmwin32.exe");
  std::filesystem::remove(folder_ / "kmwin64.exe");
  auto& w = open();
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);
  EXPECT_EQ(probe().text(w.lblStatus), w.SolverExe + " fehlt/is missing!");
}

TEST_F(CheckerWindow, TabFollowsTheFocusOrderBothWays) {
  allTasks();
  auto& w = open();
  const std::vector<const Control*> order{&w.cmdOK, &w.cmdClose, &w.cmdDummy, &w.lstTask,
                                          &w.lstKalmorCallingMode, &w.lstKalmorBitVersion,
                                          &w.lstLanguage};
  ASSERT_TRUE(probe().hasFocus(w.cmdOK));
  for (std::size_t i = 1; i <= order.size(); ++i) {
    probe().pressTab();
    EXPECT_TRUE(probe().hasFocus(*order[i % order.size()])) << "after Tab " << i;
  }
  for (std::size_t i = order.size(); i-- > 0;) {
    probe().pressTab(true);
    EXPECT_TRUE(probe().hasFocus(*order[i])) << "Shift+Tab to " << order[i]->name();
  }
}

TEST_F(CheckerWindow, EscapeKeepsTheWindowOpenTheCloseBoxEndsTheProgram) {
  allTasks();
  open();
  probe().pressEscape();
  EXPECT_TRUE(probe().mapped());
  EXPECT_THROW(probe().closeBox(), ProgramEnded);
  EXPECT_FALSE(probe().mapped());
}

TEST_F(CheckerWindow, TheCloseButtonEndsTheProgram) {
  allTasks();
  auto& w = open();
  EXPECT_THROW(probe().click(w.cmdClose), ProgramEnded);
  EXPECT_FALSE(probe().mapped());
}

}  // namespace
}  // namespace kalmor::testing
