// A job object that holds every solver and whatever it starts. Closed, which
// the system also does when the checker itself ends or is killed, it ends all
// of them.
#pragma once

#include <cstdint>

namespace kalmor {

class SolverJob {
 public:
  SolverJob();
  ~SolverJob();
  SolverJob(const SolverJob&) = delete;
  SolverJob& operator=(const SolverJob&) = delete;

  // False where the system gave no job; processes then run outside one.
  bool ready() const { return job_ != nullptr; }
  // Puts a process that has not yet run into the job; false where the system
  // refuses (a checker already in a job that allows no nesting, as before
  // Windows 8).
  bool adopt(void* process);
  // Ends every process in the job.
  void endAll(std::uint32_t exitCode);

 private:
  void* job_ = nullptr;
};

}  // namespace kalmor
