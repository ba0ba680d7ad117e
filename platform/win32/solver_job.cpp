#include "platform/win32/solver_job.h"

#include <windows.h>

namespace kalmor {

SolverJob::SolverJob() {
  HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
    ::CloseHandle(job);
    return;
  }
  job_ = job;
}

SolverJob::~SolverJob() {
  if (job_ != nullptr) ::CloseHandle(job_);
}

bool SolverJob::adopt(void* process) {
  return job_ != nullptr && ::AssignProcessToJobObject(job_, process);
}

void SolverJob::endAll(std::uint32_t exitCode) {
  if (job_ != nullptr) ::TerminateJobObject(job_, exitCode);
}

}  // namespace kalmor
