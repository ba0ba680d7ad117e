// Interrupts of a Windows console program: Ctrl+C, Ctrl+Break and closing the
// console end the running solver, then the program. The handler runs on its
// own thread and reads the solver's id from a lock-free atomic.
#pragma once

#include <cstdint>
#include <string>

namespace kalmor {

// The solver an interrupt must end; 0 for none.
void SetInterruptibleSolver(std::uint32_t processId);
void InstallInterruptHandler(int exitCode, const std::string& notice);
[[noreturn]] void EndSolverAndExitNow(int exitCode);

}  // namespace kalmor
