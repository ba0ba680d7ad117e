#include "platform/win32/solver_job.h"

#include "platform/win32/checker_job.h"

namespace kalmor {

SolverJob::SolverJob() {
  // Joined first: asked below, the checker's own job says whether a solver
  // may break away from it.
  CheckerJob();
  UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
  if (!job) return;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  // An unhandled exception in any of them ends it at once, with no error
  // report to wait on, whatever error mode it chose for itself.
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
    return;
  }
  job_ = std::move(job);
  // A null handle asks about the job this process runs in, if any.
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION outer{};
  if (::QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &outer,
                                  sizeof outer, nullptr) &&
      (outer.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_BREAKAWAY_OK) != 0) {
    breakaway_ = CREATE_BREAKAWAY_FROM_JOB;
  }
}

bool SolverJob::adopt(HANDLE process) {
  runStart_ = CreationTime(process);
  return job_ && ::AssignProcessToJobObject(job_.get(), process);
}

void SolverJob::endAll(std::uint32_t exitCode) {
  if (job_) ::TerminateJobObject(job_.get(), exitCode);
  EndCheckerJobProcessesSince(runStart_, exitCode);
}

}  // namespace kalmor
