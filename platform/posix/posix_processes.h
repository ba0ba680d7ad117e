// Child processes on POSIX, shaped like the Windows calls the window makes:
// the named executable runs with the command line cut by Windows rules, the
// wait is a poll on a pidfd, the child leads its own process group and
// termination is SIGKILL to that group and to the child, and every child is
// reaped. The running child is the one an interrupt ends; it is killed when
// the thread that started it ends, so a killed checker leaves no solver.
// When a solver's object ends, its group is ended too, and so is every
// process it started that left the group (a daemon's double fork, setsid):
// the checker is their subreaper, so they become its children as they are
// orphaned. Each is waited for, so nothing of one run writes during the next,
// nor holds its lock.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/unique_fd.h"

namespace kalmor {

class PosixProcesses;

class PosixSolverProcess : public SolverProcess {
 public:
  PosixSolverProcess(PosixProcesses& owner, int pid, UniqueFd pidfd, unsigned long long started,
                     bool alone);
  ~PosixSolverProcess() override;
  PosixSolverProcess(const PosixSolverProcess&) = delete;
  PosixSolverProcess& operator=(const PosixSolverProcess&) = delete;

  WaitOutcome wait(int milliseconds) override;
  ProcessExit exit() override;
  void terminate() override;
  std::uint32_t processId() const override { return static_cast<std::uint32_t>(pid_); }
  // False on kernels without pidfd_open: the wait then looks and sleeps.
  bool waitsOnPidfd() const { return static_cast<bool>(pidfd_); }

 private:
  PosixProcesses& owner_;
  int pid_;
  UniqueFd pidfd_;
  unsigned long long started_;  // in clock ticks since boot
  bool alone_;
};

// How a child is started; the descriptors stay the caller's.
struct SpawnOptions {
  bool hidden = false;   // standard input, output and error on /dev/null
  int inherited = -1;    // becomes descriptor 3 (the run lock); -1 for none
  int output = -1;       // becomes standard output; -1 to keep it (or /dev/null when hidden)
  // A launcher that runs the solver for us (Wine's) is ended alone: its
  // process group also holds the Wine servers it started, which are the user's.
  bool alone = false;
};

class PosixProcesses {
 public:
  PosixProcesses();
  PosixProcesses(const PosixProcesses&) = delete;
  PosixProcesses& operator=(const PosixProcesses&) = delete;

  Result<std::unique_ptr<PosixSolverProcess>> start(const std::string& applicationName,
                                                    const std::string& commandLine,
                                                    const SpawnOptions& options);
  // The same with these exact arguments, the first the program.
  Result<std::unique_ptr<PosixSolverProcess>> start(std::vector<std::string> args,
                                                    const SpawnOptions& options);

  // The argv a solver started with this command line receives.
  static std::vector<std::string> Arguments(const std::string& applicationName,
                                            const std::string& commandLine);

 private:
  friend class PosixSolverProcess;
  // Kills and reaps what this program adopted since the solver started.
  void endAdopted(unsigned long long since) const;

  std::set<int> live_;  // the pids of solvers whose objects are alive
};

}  // namespace kalmor
