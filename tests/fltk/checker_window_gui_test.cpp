// The real checker window on FLTK under an X server: what only real widgets
// and real input show. The run outcomes themselves are checked headless.
#include <chrono>
#include <set>
#include <thread>

#include "tests/fltk/gui_fixture.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono_literals;

// Gone, or dead and only waiting to be reaped, within a short while.
bool ProcessEnded(std::uint32_t pid) {
  const auto end = std::chrono::steady_clock::now() + 2s;
  for (;;) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 0; i < 3 && stat >> field; ++i) {
    }
    if (!stat || field == "Z") return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(10ms);
  }
}

class CheckerWindow : public GuiTest {
 protected:
  frmKalmorChecker& openWithTasks(const std::string& body = "Stipulation\r\n<Protokoll>\r\n") {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP"}) task(body, name);
    return open();
  }
};

TEST_F(CheckerWindow, OpensCentredAtItsFixedSizeWithTitleIconAndStartFocused) {
  auto& w = openWithTasks();
  ASSERT_TRUE(probe().mapped());
  EXPECT_EQ(probe().title(), inLanguage("Kalmor Funktionstester 3.0 Build 25", "Kalmor function tester 3.0 Build 25"));
  const PixelRect area = probe().windowArea();
  EXPECT_EQ(std::pair(area.w, area.h), std::pair(344, 251)) << "5160 x 3765 twips at 96 dpi";
  EXPECT_TRUE(probe().centredOnTheScreen());
  EXPECT_TRUE(probe().fixedSize());
  EXPECT_TRUE(probe().hasIconOfSize(16, 16));
  EXPECT_EQ(probe().text(w.lblStatus),
            inLanguage("Bitte betätigen Sie den \"Starten\"-Button", "Please press the \"Start\" button"));
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Information);
  EXPECT_EQ(probe().picture(w.cmdOK), Picture::Warning);
  EXPECT_EQ(probe().picture(w.cmdClose), Picture::Error);
  EXPECT_FALSE(probe().shown(w.lblTimer));
  EXPECT_TRUE(probe().hasFocus(w.cmdOK));
}

TEST_F(CheckerWindow, PickingALanguageRewritesTheWindowAndTabFollowsTheFocusOrder) {
  auto& w = openWithTasks();
  const bool wasGerman = german();
  probe().pick(w.lstLanguage, wasGerman ? 1 : 0);
  ASSERT_NE(german(), wasGerman);
  EXPECT_EQ(probe().title(), inLanguage("Kalmor Funktionstester 3.0 Build 25", "Kalmor function tester 3.0 Build 25"));
  EXPECT_EQ(probe().text(w.cmdOK), inLanguage("Starten", "Start"));
  const std::vector<const Control*> order{&w.cmdOK, &w.cmdClose, &w.cmdDummy, &w.lstTask, &w.lstKalmorCallingMode,
                                          &w.lstKalmorBitVersion, &w.lstLanguage};
  probe().pressTab(true);
  for (std::size_t i = 0; i < order.size(); ++i) {
    probe().pressTab();
    EXPECT_TRUE(probe().hasFocus(*order[i])) << "Tab to " << order[i]->name();
  }
  probe().pressTab(true);
  EXPECT_TRUE(probe().hasFocus(w.lstKalmorBitVersion)) << "Shift+Tab goes back";
}

TEST_F(CheckerWindow, WithoutTasksStartIsGreyedAndEscapeDoesNotCloseButTheCloseBoxDoes) {
  auto& w = open();
  EXPECT_FALSE(probe().active(w.cmdOK));
  EXPECT_TRUE(probe().hasFocus(w.cmdClose));
  probe().pressEscape();
  EXPECT_TRUE(probe().mapped());
  EXPECT_THROW(probe().closeBox(), ProgramEnded);
  EXPECT_FALSE(probe().mapped());
}

TEST_F(CheckerWindow, ARunBlinksTheStatusCountsAndReportsOnTwoLines) {
  auto& w = openWithTasks("Stipulation #3\r\n<Protokoll>\r\n%standin sleep 2500\r\n");
  const std::uint32_t background = probe().backColour(w.lblStatus);
  std::set<std::uint32_t> colours;
  std::set<std::string> times;
  std::function<void()> watch = [&] {
    if (!w.RunInProgress) return;
    colours.insert(probe().textColour(w.lblStatus));
    times.insert(probe().text(w.lblTimer));
    probe().after(50ms, watch);
  };
  probe().after(50ms, watch);
  probe().click(w.cmdOK);  // returns when the run is over: its wait pumps our events
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x0000FF, background}));
  ASSERT_FALSE(times.empty());
  EXPECT_EQ(*times.begin(), "00:00:00");
  EXPECT_GE(*times.rbegin(), "00:00:01");
  EXPECT_EQ(probe().text(w.lblStatus), inLanguage("Test erfolgreich abgeschlossen!", "Test finished successfully!"));
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  const std::string result = probe().text(w.lblResult);
  EXPECT_EQ(result.substr(0, result.find('\n')), inLanguage("Lösungs-Datei erstellt: KM.OUT", "Solution file created: KM.OUT"));
  EXPECT_EQ(result.find('\r'), std::string::npos);

  task("<Protokoll>\r\n");
  std::filesystem::remove(folder_ / "KM.OUT");
  probe().pressAltLetter('s');  // the access key of "&Start"
  EXPECT_TRUE(std::filesystem::exists(folder_ / "KM.OUT"));
}

TEST_F(CheckerWindow, StopAndTheCloseBoxEndTheSolverAtOnce) {
  for (const bool closeBox : {false, true}) {
    auto& w = openWithTasks("<Protokoll>\r\n%standin sleep 20000\r\n");
    std::uint32_t pid = 0;
    probe().after(400ms, [&] {
      pid = w.uProc.processId;
      closeBox ? probe().closeBox() : probe().click(w.cmdOK);
    });
    if (closeBox) {
      EXPECT_THROW(probe().click(w.cmdOK), ProgramEnded);
    } else {
      probe().click(w.cmdOK);
      EXPECT_EQ(probe().text(w.lblStatus), inLanguage("Test wurde abgebrochen", "Test has been aborted"));
      EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);
    }
    ASSERT_NE(pid, 0u);
    EXPECT_TRUE(ProcessEnded(pid));
    probe_.reset();
    checker_.reset();
  }
}

}  // namespace
}  // namespace kalmor::testing
