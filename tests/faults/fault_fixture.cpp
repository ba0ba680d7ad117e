#include "tests/faults/fault_fixture.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "tests/faults/process_census.h"

namespace kalmor::faults {
namespace {

using namespace std::chrono_literals;

constexpr std::uintmax_t kContentLimit = 1 << 20;

// Type, size and small files' content: what a run could lose or corrupt.
std::string Describe(const fs::path& path) {
  const fs::file_status status = fs::symlink_status(path);
  std::string text = std::to_string(static_cast<int>(status.type()));
  if (fs::is_symlink(status)) text += " -> " + fs::read_symlink(path).string();
  if (!fs::is_regular_file(status)) return text;
  const std::uintmax_t size = fs::file_size(path);
  return text + " size " + std::to_string(size) + (size <= kContentLimit ? " " + Slurp(path) : "");
}

// A run writes TMP_INPUT.INP and deletes KM.OUT; the solver writes KM.OUT and its own logs.
bool RunFile(const std::string& name) {
  return name == "TMP_INPUT.INP" || name == "KM.OUT" || name == "standin_calls.log" || name == "standin_child.log";
}

}  // namespace

Outcome Passed(const std::string& firstLine) {
  return {"Test erfolgreich abgeschlossen!", "Lösungs-Datei erstellt: KM.OUT\r" + firstLine, Colour::buttonText(),
          "&Start"};
}

Outcome Failed() { return {"Test fehlgeschlagen!", "Lösungs-Datei wurde nicht erstellt:\rKM.OUT", kRed, "&Start"}; }

Outcome Aborted() { return {"Test wurde abgebrochen", "", Colour::buttonText(), "&Start"}; }

Outcome SystemError(int number, const std::string& text) {
  return {"Bereit", "Fehlernummer: " + std::to_string(number) + "\r" + text, kRed, "&Start"};
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    snapshot[entry.path().lexically_relative(folder).string()] = Describe(entry.path());
  }
  return snapshot;
}

void FaultRun::SetUp() {
  // A write that runs away (through a link into the task it reads, say) fails
  // at 2 GiB instead of filling the disk while the watchdog waits.
  const rlimit limit{2UL << 30, 2UL << 30};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, SIG_IGN);
}

void FaultRun::TearDown() {
  for (const int pid : census::ProcessesMentioning(base.string())) {
    ADD_FAILURE() << "process " << pid << " of this test is still running";
    ::kill(pid, SIGKILL);
  }
  window.reset();
  platform.reset();  // reaps what the program's end would reap
  for (const int pid : census::ChildrenOf(static_cast<int>(::getpid()))) {
    ADD_FAILURE() << "child " << pid << " in state " << census::ProcessState(pid) << " is left behind";
  }
}

void FaultRun::press(std::function<bool(int)> stopAt) {
  constexpr std::chrono::seconds kBound(10);
  std::atomic<bool> fired = false;
  // Once the bound has passed, kills what the press started, which ends any
  // wait for it; a press that still does not return ends the test program.
  std::jthread watchdog([&](std::stop_token pressDone) {
    std::mutex mutex;
    std::condition_variable_any wakeUp;
    std::unique_lock lock(mutex);
    const auto done = [&] { return pressDone.stop_requested(); };
    if (wakeUp.wait_for(lock, pressDone, kBound, done)) return;
    fired = true;
    for (const int pid : census::ProcessesMentioning(base.string())) ::kill(pid, SIGKILL);
    for (const int pid : census::ChildrenOf(static_cast<int>(::getpid()))) ::kill(pid, SIGKILL);
    if (wakeUp.wait_for(lock, pressDone, 5s, done)) return;
    std::fprintf(stderr, "FAILED: the press is still busy with no solver left; ending\n");
    std::error_code ignored;
    fs::remove_all(base, ignored);
    std::_Exit(1);
  });
  toolkit.onEveryPump([this, stopAt, before = toolkit.pumps()](int pump) {
    if (stopAt && window->RunInProgress && stopAt(pump - before)) toolkit.click(window->cmdOK);
  });
  try {
    toolkit.click(window->cmdOK);
  } catch (...) {
    toolkit.onEveryPump(nullptr);
    throw;
  }
  toolkit.onEveryPump(nullptr);
  watchdog.request_stop();
  watchdog.join();
  EXPECT_FALSE(fired) << "the run was still going " << kBound.count() << " s after Start; its solver was killed";
}

void FaultRun::expectOutcome(const Outcome& expected) const {
  const frmKalmorChecker& f = *window;
  EXPECT_EQ(f.lblStatus.caption(), expected.status);
  EXPECT_EQ(f.lblResult.caption().substr(0, 300), expected.result.substr(0, 300));
  EXPECT_TRUE(f.lblResult.foreColour() == expected.resultColour) << "result colour";
  EXPECT_EQ(f.cmdOK.caption(), expected.button);
}

void FaultRun::expectOnlyRunFilesChanged(const Snapshot& before) const {
  Snapshot was = before;
  Snapshot is = TakeSnapshot(folder);
  for (Snapshot* snapshot : {&was, &is}) std::erase_if(*snapshot, [](const auto& e) { return RunFile(e.first); });
  EXPECT_EQ(was, is) << "files other than the run's changed";
}

std::string FaultRun::outputFirstLine() const {
  const std::string text = Slurp(folder / "KM.OUT");
  return text.substr(0, text.find('\r'));
}

}  // namespace kalmor::faults
