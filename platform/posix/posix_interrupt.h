// Interrupts on POSIX: every signal that can be caught and would end the
// program (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, SIGPIPE, the
// real-time signals the C library leaves to programs, ...) ends the running solver with its process group,
// then the program. A fault signal (SIGSEGV, SIGABRT, ...) ends the solver too
// and then takes its own course. The handler reads the solver's pid from a
// lock-free atomic and calls only async-signal-safe functions.
#pragma once

#include <signal.h>

#include <string>

namespace kalmor {

// The solver an interrupt must end, as KillSolverAndGroup takes it; 0 for none.
void SetInterruptibleSolver(int pid);
void InstallInterruptHandlers(int exitCode, const std::string& notice);
[[noreturn]] void EndSolverAndExitNow(int exitCode);

// SIGKILL to the process group that pid leads, then to pid itself (a solver
// that left the group still goes); a negative pid names a process that goes
// alone: a Wine launcher, whose group also holds the user's Wine servers that
// it started. Async-signal-safe.
void KillSolverAndGroup(int pid);

// Puts the interrupt signals whose handler is this module's back to their
// default, for a forked child before it unblocks them and runs the solver.
// Async-signal-safe.
void ResetInterruptHandlers();

// Holds the interrupt signals back while a solver is started and made known,
// so that none can end the program in between and leave the solver behind.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
  // The mask from before, for the child to start with.
  const sigset_t& previousMask() const { return previous_; }

 private:
  sigset_t previous_{};
};

}  // namespace kalmor
