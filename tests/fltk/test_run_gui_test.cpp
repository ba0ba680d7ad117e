// Test runs started, watched and stopped through the real widgets, with the
// stand-in solver as a real child process.
#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "tests/fltk/gui_fixture.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kBlue = 0x0000FF;

// Gone, or dead and only waiting to be reaped, within a short while: a
// killed process takes a moment to go.
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

class TestRun : public GuiTest {
 protected:
  // Samples what the window shows every 50 ms while a run waits.
  void watchEvery50ms() {
    probe().after(50ms, [this] {
      auto& w = checker_->window();
      if (!w.RunInProgress) return;
      statusColours.insert(probe().textColour(w.lblStatus));
      timerTexts.insert(probe().text(w.lblTimer));
      startCaptions.insert(probe().text(w.cmdOK));
      timeShown = timeShown || probe().shown(w.frameTime);
      dummyFocused = dummyFocused || probe().hasFocus(w.cmdDummy);
      watchEvery50ms();
    });
  }

  // Starts a run whose solver would take 20 s; 400 ms into it, notes the
  // solver's process id and interrupts. Returns when the run is over.
  void interruptLongRun(std::function<void()> interrupt) {
    task("<Protokoll>\r\n%standin sleep 20000\r\n");
    auto& w = open();
    probe().after(400ms, [this, &w, interrupt] {
      solverPid = w.uProc.processId;
      interrupt();
    });
    probe().click(w.cmdOK);
  }

  std::uint32_t solverPid = 0;
  std::set<std::uint32_t> statusColours;
  std::set<std::string> timerTexts;
  std::set<std::string> startCaptions;
  bool timeShown = false;
  bool dummyFocused = false;
};

TEST_F(TestRun, StartRunsTheSolverBlinksTheStatusAndReportsSuccess) {
  // Long enough that a loaded machine's late ticks still show two seconds.
  task("Stipulation #3\r\n<Protokoll>\r\n%standin sleep 3500\r\n");
  auto& w = open();
  const std::uint32_t background = probe().backColour(w.lblStatus);
  watchEvery50ms();
  probe().click(w.cmdOK);  // returns when the run is over: its wait pumps our events

  EXPECT_EQ(startCaptions, std::set<std::string>{"&Stop"});
  EXPECT_TRUE(timeShown);
  EXPECT_TRUE(dummyFocused);
  // Shown in blue and hidden in the background colour, by turns.
  EXPECT_EQ(statusColours, (std::set<std::uint32_t>{kBlue, background}));
  // The clock starts at zero and counts whole seconds from the solver's start;
  // on a loaded machine a late tick may skip a second, never go back.
  ASSERT_FALSE(timerTexts.empty());
  EXPECT_EQ(*timerTexts.begin(), "00:00:00") << ::testing::PrintToString(timerTexts);
  EXPECT_GE(*timerTexts.rbegin(), "00:00:02") << ::testing::PrintToString(timerTexts);
  EXPECT_LE(*timerTexts.rbegin(), "00:00:05") << ::testing::PrintToString(timerTexts);

  EXPECT_EQ(probe().text(w.lblStatus),
            inLanguage("Test erfolgreich abgeschlossen!", "Test finished successfully!"));
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  EXPECT_EQ(probe().text(w.cmdOK), "&Start");
  // Two lines: the CR of the caption became a line feed.
  const std::string result = probe().text(w.lblResult);
  EXPECT_EQ(result.find('\r'), std::string::npos);
  EXPECT_EQ(result.substr(0, result.find('\n')),
            inLanguage("Lösungs-Datei erstellt: KM.OUT", "Solution file created: KM.OUT"));

  // The timer stopped with the run: nothing blinks or counts any more.
  const std::string shownTime = probe().text(w.lblTimer);
  probe().pumpUntil([] { return false; }, 1200ms);
  EXPECT_EQ(probe().textColour(w.lblStatus), 0x000000u);
  EXPECT_EQ(probe().text(w.lblTimer), shownTime);
}

TEST_F(TestRun, TheAccessKeyStartsAnotherRun) {
  task("<Protokoll>\r\n");
  auto& w = open();
  probe().click(w.cmdOK);
  ASSERT_EQ(probe().text(w.cmdOK), "&Start");
  std::filesystem::remove(folder_ / "KM.OUT");
  probe().pressAltLetter('s');
  EXPECT_TRUE(std::filesystem::exists(folder_ / "KM.OUT"));
  EXPECT_EQ(probe().text(w.lblStatus),
            inLanguage("Test erfolgreich abgeschlossen!", "Test finished successfully!"));
}

TEST_F(TestRun, StopEndsTheSolverAtOnce) {
  const auto started = std::chrono::steady_clock::now();
  interruptLongRun([this] { probe().click(checker_->window().cmdOK); });
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
  auto& w = checker_->window();
  EXPECT_EQ(probe().text(w.lblStatus),
            inLanguage("Test wurde abgebrochen", "Test has been aborted"));
  EXPECT_EQ(probe().picture(w.bild(0)), Picture::Error);
  ASSERT_NE(solverPid, 0u);
  EXPECT_TRUE(ProcessEnded(solverPid));
}

TEST_F(TestRun, TheCloseBoxDuringARunEndsSolverAndProgram) {
  EXPECT_THROW(interruptLongRun([this] { probe().closeBox(); }), ProgramEnded);
  ASSERT_NE(solverPid, 0u);
  EXPECT_TRUE(ProcessEnded(solverPid));
  EXPECT_FALSE(probe().mapped());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "KM.OUT"));
}

}  // namespace
}  // namespace kalmor::testing
