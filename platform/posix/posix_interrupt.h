// Interrupts on POSIX: SIGINT, SIGTERM and SIGHUP end the running solver,
// then the program. The handler reads the solver's pid from a lock-free
// atomic and calls only kill, write and _exit.
#pragma once

#include <signal.h>

#include <string>

namespace kalmor {

// The solver an interrupt must end; 0 for none.
void SetInterruptibleSolver(int pid);
void InstallInterruptHandlers(int exitCode, const std::string& notice);
[[noreturn]] void EndSolverAndExitNow(int exitCode);

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
