// Child processes on POSIX, shaped like the Windows calls the window makes:
// the named executable runs with the command line cut by Windows rules, the
// wait is a poll on a pidfd, the child leads its own process group and
// termination is SIGKILL to that group and to the child, and every child is
// reaped. The running child is the one an interrupt ends; it is killed when
// the thread that started it ends, so a killed checker leaves no solver.
// When a solver has ended, its group is ended too before the handles close,
// and so is every process it started that left the group (a daemon's double
// fork, setsid): the checker is their subreaper, so they become its children
// as they are orphaned. Each is waited for, so nothing of one run writes
// during the next, nor holds its lock.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/unique_fd.h"

namespace kalmor {

class PosixProcesses {
 public:
  PosixProcesses();
  ~PosixProcesses();
  PosixProcesses(const PosixProcesses&) = delete;
  PosixProcesses& operator=(const PosixProcesses&) = delete;

  bool create(const std::string& applicationName, const std::string& commandLine,
              const StartupRecord& startup, ProcessRecord& process, std::int32_t& lastError);
  // A launcher that runs the solver for us (Wine's): these exact arguments,
  // its standard output into output, its input and errors the null device,
  // and no run lock handed on, which the launcher's own servers would hold.
  bool createLauncher(std::vector<std::string> args, int output, ProcessRecord& process,
                      std::int32_t& lastError);
  WaitOutcome wait(const ProcessRecord& process, int milliseconds);
  void terminate(std::uint32_t processId);
  void close(ProcessRecord& process);
  ProcessExit exitOf(const ProcessRecord& process) const;
  // A descriptor every solver started from now on gets as its descriptor 3
  // (the run lock, so that what the solver leaves behind keeps it); -1 for none.
  void inheritDescriptor(int fd) { inherited_ = fd; }

  // The argv a solver started with this command line receives.
  static std::vector<std::string> Arguments(const std::string& applicationName,
                                            const std::string& commandLine);

 private:
  struct Child {
    UniqueFd pidfd;
    bool killed = false;
    bool alone = false;  // a launcher: its group is not the run's
    unsigned long long started = 0;  // in clock ticks since boot
  };
  // Collects the child if it has ended (waiting for a killed one); true when gone.
  static bool Reap(int pid, Child& child);
  void reapFinished();
  // As KillSolverAndGroup and SetInterruptibleSolver take it.
  static int Target(int pid, const Child& child) { return child.alone ? -pid : pid; }
  bool start(std::vector<std::string> args, bool hidden, int inherited, int output,
             ProcessRecord& process, std::int32_t& lastError);
  // Kills and reaps what this program adopted since the solver started.
  void endAdopted(unsigned long long since) const;

  std::map<int, Child> children_;  // unreaped children by pid
  int inherited_ = -1;
};

}  // namespace kalmor
