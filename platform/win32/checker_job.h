// The job the checker itself runs in. A process started with the checker
// named as its parent (the parent-process attribute of process creation)
// joins the checker's job, not the solver's: so a solver can start a child
// outside the solvers' job. In a job of its own, which ends every process in
// it when the checker ends or is killed, the checker finds such children and
// ends them with the run.
#pragma once

#include <cstdint>

#include "platform/win32/win32_handle.h"

namespace kalmor {

// Made and joined once per process; nullptr where the system refuses (a
// checker already in a job that allows no nesting, before Windows 8).
HANDLE CheckerJob();
// When the process was created, in the system's file time; 0 if unknown.
std::uint64_t CreationTime(HANDLE process);
// Ends every process in the checker's job created at or after since, except
// the checker itself.
void EndCheckerJobProcessesSince(std::uint64_t since, std::uint32_t exitCode);

}  // namespace kalmor
