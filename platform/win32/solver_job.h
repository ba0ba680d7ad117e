// A job object that holds every solver and whatever it starts. Closed, which
// the system also does when the checker itself ends or is killed, it ends all
// of them.
#pragma once

#include <cstdint>

#include "platform/win32/win32_handle.h"

namespace kalmor {

class SolverJob {
 public:
  SolverJob();

  // False where the system gave no job; processes then run outside one.
  bool ready() const { return static_cast<bool>(job_); }
  // Creation flags that let a new process join this job: a checker that runs
  // in a job of its own which allows it lets the solver break away from that
  // one, since before Windows 8 a process could be in one job only.
  std::uint32_t creationFlags() const { return breakaway_; }
  // Puts a process that has not yet run into the job; false where the system
  // refuses (a checker already in a job that allows neither nesting nor
  // breaking away). Its run starts then.
  bool adopt(HANDLE process);
  // Ends every process in the job, and every other the run started in the
  // checker's own job (checker_job.h).
  void endAll(std::uint32_t exitCode);
  // Ends them too as the checker's end would.
  ~SolverJob() { endAll(1); }
  SolverJob(const SolverJob&) = delete;
  SolverJob& operator=(const SolverJob&) = delete;

 private:
  UniqueHandle job_;
  std::uint32_t breakaway_ = 0;
  std::uint64_t runStart_ = 0;
};

}  // namespace kalmor
