// The real checker window on FLTK under an X server: what only real widgets
// and real input show. The run outcomes themselves are checked headless.
#include "tests/fltk/gui_fixture.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <set>

#include "platform/create_platform.h"
#include "tests/faults/process_census.h"
#include "tests/support/eventually.h"
#include "tests/support/fltk/window_manager_hints.h"
#include "ui/pixel_layout.h"
#include "ui/run_checker.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono_literals;

class CheckerWindow : public GuiTest {
 protected:
  frmKalmorChecker& openWithTasks(const std::string& body = "Stipulation\r\n<Protokoll>\r\n") {
    for (const char* name : {"test_#3.INP", "test_#4.INP", "test_s#7.INP"}) task(body, name);
    return open();
  }
  std::string title() { return probe().window().label(); }
};

TEST_F(CheckerWindow, OpensCentredAtItsFixedSizeWithTitleIconAndStartFocused) {
  auto& w = openWithTasks();
  ASSERT_TRUE(probe().mapped());
  EXPECT_EQ(title(), "Kalmor Funktionstester 3.0 Build 25");
  Fl_Double_Window& shown = probe().window();
  PixelRect screen;
  Fl::screen_work_area(screen.x, screen.y, screen.w, screen.h);
  EXPECT_EQ((PixelRect{shown.x(), shown.y(), shown.w(), shown.h()}), CentredIn(screen, 344, 251))
      << "5160 x 3765 twips at 96 dpi, centred";
  EXPECT_TRUE(HasFixedSizeHints(shown));
  EXPECT_TRUE(HasIconOfSize(shown, 16, 16));
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Information);
  EXPECT_EQ(probe().picture(w.cmdOK), Picture::Warning);
  EXPECT_TRUE(probe().hasFocus(w.cmdOK));
}

TEST_F(CheckerWindow, PickingALanguageRewritesTheWindowAndTabFollowsTheFocusOrder) {
  auto& w = openWithTasks();
  probe().pick(w.lstLanguage, 1);
  EXPECT_EQ(title(), "Kalmor function tester 3.0 Build 25");
  EXPECT_EQ(probe().text(w.cmdOK), "Start");
  const std::vector<const Control*> order{&w.cmdOK, &w.cmdClose, &w.cmdDummy, &w.lstTask, &w.lstKalmorCallingMode,
                                          &w.lstKalmorBitVersion, &w.lstLanguage};
  probe().key(FL_Tab, FL_SHIFT);
  for (const Control* control : order) {
    probe().key(FL_Tab);
    EXPECT_TRUE(probe().hasFocus(*control)) << "Tab to " << control->name();
  }
  probe().key(FL_Tab, FL_SHIFT);
  EXPECT_TRUE(probe().hasFocus(w.lstKalmorBitVersion)) << "Shift+Tab goes back";
}

TEST_F(CheckerWindow, WithoutTasksStartIsGreyedAndEscapeDoesNotCloseButTheCloseBoxDoes) {
  auto& w = open();
  EXPECT_FALSE(probe().widget(w.cmdOK).active_r());
  EXPECT_TRUE(probe().hasFocus(w.cmdClose));
  probe().key(FL_Escape);
  EXPECT_TRUE(probe().mapped());
  EXPECT_THROW(probe().closeBox(), ProgramEnded);
  EXPECT_FALSE(probe().mapped());
}

TEST_F(CheckerWindow, ARunBlinksAndCountsUntilStopThenAltSRunsAgainAndReportsOnTwoLines) {
  auto& w = openWithTasks("Stipulation #3\r\n<Protokoll>\r\n%standin sleep 20000\r\n");
  const std::uint32_t background = probe().backColour(w.lblStatus);
  std::set<std::uint32_t> colours;
  std::set<std::string> times;
  std::function<void()> watch = [&] {
    if (!w.RunInProgress) return;
    colours.insert(probe().textColour(w.lblStatus));
    times.insert(probe().text(w.lblTimer));
    if (times.contains("00:00:01")) return probe().click(w.cmdOK);  // Stop
    probe().after(50ms, watch);
  };
  probe().after(50ms, watch);
  probe().click(w.cmdOK);  // returns when the run is over: its wait pumps our events
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x0000FF, background}));
  EXPECT_EQ(times, (std::set<std::string>{"00:00:00", "00:00:01"}));
  EXPECT_EQ(probe().text(w.lblStatus), "Test wurde abgebrochen");
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);

  task("<Protokoll>\r\n");
  probe().key('s', FL_ALT);  // the access key of "&Start"
  EXPECT_EQ(probe().text(w.lblStatus), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  const std::string result = probe().text(w.lblResult);
  EXPECT_EQ(result.substr(0, result.find('\n')), "Lösungs-Datei erstellt: KM.OUT");
  EXPECT_EQ(result.find('\r'), std::string::npos);
}

void PressTheFocusedButton(void*) {
  if (Fl::focus() == nullptr) return Fl::repeat_timeout(0.1, PressTheFocusedButton);
  Fl::focus()->do_callback();
}

using Interrupt = GuiTest;

TEST_F(Interrupt, SigtermDuringARunEndsTheSolverAndTheProgram) {
  task("%standin sleep 30000\r\n<Protokoll>\r\n");
  const pid_t checker = ::fork();
  if (checker == 0) {
    auto system = CreateSystemPlatform(folder.string());
    Fl::add_timeout(0.5, PressTheFocusedButton);  // Start has the focus
    ::_exit(RunChecker(*system, 0, nullptr));
  }
  const auto solverRunning = [&] { return !census::ProcessesMentioning((folder / "kmwin64.exe").string()).empty(); };
  const bool started = Eventually(20s, solverRunning);
  ::kill(checker, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(checker, &status, 0), checker);
  ASSERT_TRUE(started) << "Start was never pressed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_TRUE(Eventually(2s, [&] { return !solverRunning(); }));
}

}  // namespace
}  // namespace kalmor::testing
