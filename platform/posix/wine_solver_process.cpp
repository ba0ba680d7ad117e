#include "platform/posix/wine_solver_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/wine_host_report.h"

namespace kalmor {
namespace {

// Wine's servers are the user's, not the run's: while a launcher runs, what
// it orphans goes to init, so that the end of the run neither ends them with
// its adopted leftovers nor keeps them as zombies. The solver's own Windows
// leftovers end with its job.
void AdoptOrphans(bool adopt) { ::prctl(PR_SET_CHILD_SUBREAPER, adopt ? 1 : 0); }

}  // namespace

Result<std::unique_ptr<SolverProcess>> WineSolverProcess::Start(PosixProcesses& processes,
                                                                std::vector<std::string> launcher) {
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return SystemError{errno};
  UniqueFd report(ends[0]);
  const UniqueFd writeEnd(ends[1]);
  SpawnOptions options;
  options.hidden = true;
  options.output = writeEnd.get();
  options.alone = true;  // and no run lock: Wine's servers would inherit it
  AdoptOrphans(false);
  auto started = processes.start(std::move(launcher), options);
  if (!started) {
    AdoptOrphans(true);
    return SystemError{started.error()};
  }
  return std::unique_ptr<SolverProcess>(
      new WineSolverProcess(std::move(*started), std::move(report)));
}

WineSolverProcess::WineSolverProcess(std::unique_ptr<PosixSolverProcess> launcher,
                                     UniqueFd report)
    : launcher_(std::move(launcher)), report_(std::move(report)) {}

WineSolverProcess::~WineSolverProcess() {
  launcher_.reset();
  AdoptOrphans(true);
}

ProcessExit WineSolverProcess::exit() {
  if (exit_.kind != ProcessExit::Kind::Unknown) return exit_;
  const ProcessExit launcher = launcher_->exit();
  if (launcher.kind == ProcessExit::Kind::Unknown) return launcher;
  // The launcher wrote its report before it ended, so it is all there now.
  std::string output;
  char buffer[512];
  for (ssize_t count = 0; (count = ::read(report_.get(), buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(count));
  }
  const auto report = ReadWineHostReport(output);
  if (!report) return launcher;  // the launcher itself failed: its own ending
  exit_ = ProcessExit{report->started ? ProcessExit::Kind::Code : ProcessExit::Kind::NotStarted,
                      report->code, report->text};
  return exit_;
}

}  // namespace kalmor
