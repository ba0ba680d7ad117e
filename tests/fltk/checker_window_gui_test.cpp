// The real checker window on FLTK under an X server: what only real widgets
// and real input show. The run outcomes themselves are checked headless.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <set>

#include "tests/fltk/gui_fixture.h"
#include "tests/support/eventually.h"
#include "ui/run_checker.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

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
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Information);
  EXPECT_EQ(probe().picture(w.cmdOK), Picture::Warning);
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
  for (const Control* control : order) {
    probe().pressTab();
    EXPECT_TRUE(probe().hasFocus(*control)) << "Tab to " << control->name();
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
  fs::remove(folder_ / "KM.OUT");
  probe().pressAltLetter('s');  // the access key of "&Start"
  EXPECT_TRUE(fs::exists(folder_ / "KM.OUT"));
}

TEST_F(CheckerWindow, StopPressedDuringARunAbortsIt) {
  auto& w = openWithTasks("<Protokoll>\r\n%standin sleep 20000\r\n");
  probe().after(400ms, [&] { probe().click(w.cmdOK); });
  probe().click(w.cmdOK);
  EXPECT_EQ(probe().text(w.lblStatus), inLanguage("Test wurde abgebrochen", "Test has been aborted"));
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);
}

Fl_Button* FindStart(Fl_Group& group) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    auto* button = dynamic_cast<Fl_Button*>(child);
    // "Start" or "Starten", as the language has it.
    if (button != nullptr && button->label() != nullptr && std::strncmp(button->label(), "Start", 5) == 0) {
      return button;
    }
    Fl_Group* inner = child->as_group();
    if (Fl_Button* found = inner != nullptr ? FindStart(*inner) : nullptr) return found;
  }
  return nullptr;
}

bool SolverRunning(const fs::path& program) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) == program) return true;
  }
  return false;
}

using Interrupt = GuiTest;

TEST_F(Interrupt, SigtermDuringARunEndsTheSolverAndTheProgram) {
  task("%standin sleep 30000\r\n<Protokoll>\r\n");
  const pid_t checker = ::fork();
  if (checker == 0) {
    auto platform = CreateSystemPlatform(folder_.string());
    Fl::add_timeout(0.5, [](void*) { FindStart(*Fl::first_window())->do_callback(); });
    ::_exit(RunChecker(*platform, 0, nullptr));
  }
  const fs::path solver = folder_ / "kmwin64.exe";
  const bool started = Eventually(20s, [&] { return SolverRunning(solver); });
  ::kill(checker, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(checker, &status, 0), checker);
  ASSERT_TRUE(started) << "Start was never pressed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_TRUE(Eventually(2s, [&] { return !SolverRunning(solver); }));
}

}  // namespace
}  // namespace kalmor::testing
