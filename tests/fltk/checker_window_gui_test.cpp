// The real checker window on FLTK under an X server: what only real widgets
// and real input show. The run outcomes themselves are checked headless.
// NoOverlap runs at the resolution of the X server the test is started on, or
// of its Xft.dpi resource (ctest starts it at 96, 120 and 144 dpi).
// Before FLTK, whose X11 headers define names that googletest uses.
#include "tests/fltk/gui_fixture.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Image.H>
#include <FL/fl_draw.H>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "platform/create_platform.h"
#include "tests/support/eventually.h"
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
};

TEST_F(CheckerWindow, OpensCentredAtItsFixedSizeWithTitleIconAndStartFocused) {
  auto& w = openWithTasks();
  ASSERT_TRUE(probe().mapped());
  EXPECT_EQ(probe().window().label(), w.form.caption());
  Fl_Double_Window& shown = probe().window();
  PixelRect screen;
  Fl::screen_work_area(screen.x, screen.y, screen.w, screen.h);
  EXPECT_EQ((PixelRect{shown.x(), shown.y(), shown.w(), shown.h()}), CentredIn(screen, 344, 251))
      << "5160 x 3765 twips at 96 dpi, centred";
  EXPECT_TRUE(probe().fixedSize());
  EXPECT_TRUE(probe().hasIconOfSize(16, 16));
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Information);
  EXPECT_EQ(probe().picture(w.cmdOK), Picture::Warning);
  EXPECT_TRUE(probe().hasFocus(w.cmdOK));
}

// The keyboard alone: Tab follows the focus order, and an arrow key changes
// the focused list as on Windows, in both languages.
TEST_F(CheckerWindow, ArrowKeysChooseALanguageAndEveryListAndTabFollowsTheFocusOrder) {
  auto& w = openWithTasks();
  probe().key(FL_Tab, FL_SHIFT);  // from Start back to the language list
  probe().key(FL_Down);
  EXPECT_EQ(probe().window().label(), w.form.caption());
  const std::vector<const Control*> order{&w.cmdOK, &w.cmdClose, &w.cmdDummy, &w.lstTask, &w.lstKalmorCallingMode,
                                          &w.lstKalmorBitVersion, &w.lstLanguage};
  for (const Control* control : order) {
    probe().key(FL_Tab);
    EXPECT_TRUE(probe().hasFocus(*control)) << "Tab to " << control->name();
    if (control->kind() != ControlKind::ComboBox) continue;
    const auto& list = static_cast<const ComboBox&>(*control);
    const int before = list.listIndex();
    probe().key(before + 1 < list.listCount() ? FL_Down : FL_Up);  // the language goes back to German
    EXPECT_NE(list.listIndex(), before) << control->name();
    EXPECT_TRUE(probe().hasFocus(*control)) << "an arrow key moved the focus";
  }
  EXPECT_EQ(probe().window().label(), w.form.caption());
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

TEST_F(CheckerWindow, ARunBlinksAndCountsUntilAltSStopsThenAltSRunsAgainReportsOnTwoLinesAndSpaceCloses) {
  auto& w = openWithTasks("Stipulation #3\r\n<Protokoll>\r\n%standin sleep 20000\r\n");
  const std::uint32_t background = probe().backColour(w.lblStatus);
  std::set<std::uint32_t> colours;
  std::set<std::string> times;
  std::function<void()> watch = [&] {
    if (!w.RunInProgress) return;
    colours.insert(probe().textColour(w.lblStatus));
    times.insert(probe().text(w.lblTimer));
    if (times.size() > 1) return probe().key('s', FL_ALT);  // "&Stop" once the clock has moved on
    probe().after(50ms, watch);
  };
  probe().after(50ms, watch);
  probe().click(w.cmdOK);  // returns when the run is over: its wait pumps our events
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x0000FF, background}));
  ASSERT_EQ(times.size(), 2u);
  EXPECT_EQ(*times.begin(), "00:00:00");
  EXPECT_EQ(probe().text(w.lblStatus), "Test wurde abgebrochen");
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);

  task("<Protokoll>\r\n");
  probe().key('s', FL_ALT);  // the access key of "&Start"
  EXPECT_EQ(probe().text(w.lblStatus), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  EXPECT_TRUE(probe().text(w.lblResult).starts_with("Lösungs-Datei erstellt: KM.OUT\n")) << "two lines, not a CR";
  probe().key(FL_Tab, FL_SHIFT);  // from the hidden button that took the focus to Close
  EXPECT_THROW(probe().key(' '), ProgramEnded);
}

// No two texts of the window overlap or touch, and each fits its widget: in
// both languages, before and after a run.
// Width and height of the text as drawn, wrapped at wrapWidth when not 0.
std::pair<int, int> Extent(const Fl_Widget& w, const std::string& text, bool shortcuts, int wrapWidth) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = shortcuts ? 1 : 0;
  fl_font(w.labelfont(), w.labelsize());
  int width = wrapWidth;
  int height = 0;
  fl_measure(text.c_str(), width, height, 0);
  fl_draw_shortcut = saved;
  return {width, height};
}

// Two free pixels between them: with one, the glyphs of neighbouring texts
// still touch.
bool Apart(const Fl_Widget& a, const Fl_Widget& b) {
  return a.x() + a.w() + 2 <= b.x() || b.x() + b.w() + 2 <= a.x() || a.y() + a.h() + 2 <= b.y() ||
         b.y() + b.h() + 2 <= a.y();
}

class NoOverlap : public GuiTest {
 protected:
  // Every shown text fits its widget; no two shown widgets overlap or touch.
  void check(const std::string& when) {
    const std::string where = " " + when + " at " + std::to_string(probe().dpi()) + " dpi";
    std::vector<std::pair<const Fl_Widget*, std::string>> shown;  // each widget, and what it shows
    for (const Control* c : checker_->window().controls()) {
      const ControlKind kind = c->kind();
      if (kind != ControlKind::Label && kind != ControlKind::Button && kind != ControlKind::ComboBox &&
          kind != ControlKind::Image) {
        continue;
      }
      const Fl_Widget& w = probe().widget(*c);
      if (!w.visible_r() || w.x() + w.w() <= 0) continue;  // hidden, or moved out of sight
      const std::string text = probe().text(*c);
      const std::string name = c->name() + " \"" + text + "\"";
      if (kind == ControlKind::Label) {
        const bool wraps = !static_cast<const Label*>(c)->autoSize();
        const auto [width, height] = Extent(w, text, false, wraps ? w.w() : 0);
        EXPECT_TRUE(width <= w.w() && height <= w.h()) << name << " is clipped" << where;
      } else if (kind == ControlKind::Button) {
        const int picture = w.image() != nullptr ? w.image()->w() : 0;
        EXPECT_LE(Extent(w, text, true, 0).first + picture + Fl::box_dw(w.box()), w.w()) << name << where;
      }
      shown.emplace_back(&w, name);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_TRUE(Apart(*shown[i].first, *shown[j].first))
            << shown[i].second << " touches " << shown[j].second << where;
      }
    }
  }
};

TEST_F(NoOverlap, TextsKeepApartInBothLanguagesBeforeAndAfterARun) {
  task("Stipulation #3\r\n<Protokoll>\r\n");
  auto& w = open();
  if (const char* dpi = std::getenv("KALMOR_EXPECTED_DPI")) {
    ASSERT_NEAR(probe().dpi(), std::atof(dpi), 1.0);  // the server rounds to whole millimetres
    EXPECT_EQ(probe().widget(w.bild(0)).image()->w(), std::atoi(std::getenv("KALMOR_EXPECTED_PICTURE")));
  }
  for (const int language : {0, 1}) {
    probe().pick(w.lstLanguage, language);
    const std::string name = language == 0 ? "German" : "English";
    check(name + ", before a run");
    probe().click(w.cmdOK);  // returns when the run is over
    check(name + ", after a run");
    probe().pick(w.lstKalmorBitVersion, 1 - w.lstKalmorBitVersion.listIndex());
    check(name + ", another build picked after a run");
  }
}

void PressTheFocusedButton(void*) {
  if (Fl::focus() == nullptr) return Fl::repeat_timeout(0.1, PressTheFocusedButton);
  Fl::focus()->do_callback();
}

// Last of all: the forked checker writes to the X connection it shares with this process.
using Interrupt = GuiTest;

TEST_F(Interrupt, SigtermDuringARunEndsTheSolverAndTheProgram) {
  task("%standin sleep 30000\r\n<Protokoll>\r\n");
  const pid_t checker = ::fork();
  if (checker == 0) {
    auto system = CreateSystemPlatform(folder.string());
    Fl::add_timeout(0.5, PressTheFocusedButton);  // Start has the focus
    ::_exit(RunChecker(*system, 0, nullptr));
  }
  const auto solverRunning = [&] { return !ProcessesMentioning((folder / "kmwin64.exe").string()).empty(); };
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
