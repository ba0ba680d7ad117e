// SIGTERM to the Linux checker during a run ends the solver with the program.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/fltk/gui_fixture.h"
#include "ui/run_checker.h"

namespace kalmor::testing {
namespace {

namespace fs = std::filesystem;

Fl_Button* FindStart(Fl_Group& group) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    auto* button = dynamic_cast<Fl_Button*>(child);
    // "Start" or "Starten", as the language has it.
    if (button != nullptr && button->label() != nullptr &&
        std::strncmp(button->label(), "Start", 5) == 0) {
      return button;
    }
    if (Fl_Group* inner = child->as_group(); inner != nullptr) {
      if (Fl_Button* found = FindStart(*inner)) return found;
    }
  }
  return nullptr;
}

// The user's press, once the program is up.
void PressStart(void*) {
  if (Fl_Window* window = Fl::first_window(); window != nullptr) {
    if (Fl_Button* start = FindStart(*window)) start->do_callback();
  }
}

bool SolverRunning(const fs::path& program) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) == program) return true;
  }
  return false;
}

bool Eventually(const std::function<bool()>& condition, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

using Interrupt = GuiTest;

TEST_F(Interrupt, SigtermDuringARunEndsTheSolverAndTheProgram) {
  task("%standin sleep 30000\r\n<Protokoll>\r\n");
  const pid_t checker = ::fork();
  if (checker == 0) {
    auto platform = CreateSystemPlatform(folder_.string());
    Fl::add_timeout(0.5, PressStart);
    ::_exit(RunChecker(*platform, 0, nullptr));
  }
  const fs::path solver = folder_ / "kmwin64.exe";
  const bool started = Eventually([&] { return SolverRunning(solver); }, std::chrono::seconds(20));
  ::kill(checker, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(checker, &status, 0), checker);
  ASSERT_TRUE(started) << "Start was never pressed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_TRUE(Eventually([&] { return !SolverRunning(solver); }, std::chrono::seconds(2)));
}

}  // namespace
}  // namespace kalmor::testing
