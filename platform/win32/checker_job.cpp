#include "platform/win32/checker_job.h"

#include <vector>

namespace kalmor {
namespace {

UniqueHandle MakeAndJoin() {
  UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!job ||
      !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits) ||
      !::AssignProcessToJobObject(job.get(), ::GetCurrentProcess())) {
    return {};
  }
  return job;
}

}  // namespace

HANDLE CheckerJob() {
  // Never closed by the checker, which would end itself amid its exit (and
  // Wine's server with it): the system closes it after the checker has ended,
  // and so ends the rest.
  static const HANDLE job = MakeAndJoin().release();
  return job == INVALID_HANDLE_VALUE ? nullptr : job;
}

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

void EndCheckerJobProcessesSince(std::uint64_t since, std::uint32_t exitCode) {
  const HANDLE job = CheckerJob();
  if (job == nullptr || since == 0) return;
  // Room for far more than a run starts; a longer list is read again, larger.
  std::vector<ULONG_PTR> buffer(256);
  for (;;) {
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR));
    if (!::QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, size, nullptr) &&
        ::GetLastError() != ERROR_MORE_DATA) {
      return;
    }
    if (list->NumberOfAssignedProcesses > list->NumberOfProcessIdsInList &&
        buffer.size() < 65536) {
      buffer.resize(buffer.size() * 4);
      continue;
    }
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) {
      const auto id = static_cast<DWORD>(list->ProcessIdList[i]);
      if (id == ::GetCurrentProcessId()) continue;
      // Only the job's own members are listed, so an id names no stranger;
      // the time keeps what the checker started before this run.
      const UniqueHandle process(::OpenProcess(
          PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
      if (process && CreationTime(process.get()) >= since) {
        ::TerminateProcess(process.get(), exitCode);
      }
    }
    return;
  }
}

}  // namespace kalmor
