// Interrupts on POSIX: SIGINT, SIGTERM and SIGHUP end the running solver,
// then the program. The handler reads the solver's pid from a lock-free
// atomic and calls only kill, write and _exit.
#pragma once

#include <string>

namespace kalmor {

// The solver an interrupt must end; 0 for none.
void SetInterruptibleSolver(int pid);
void InstallInterruptHandlers(int exitCode, const std::string& notice);
[[noreturn]] void EndSolverAndExitNow(int exitCode);

}  // namespace kalmor
