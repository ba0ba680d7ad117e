// A solver started on Windows: its process and thread handles, its place in
// the solvers' job and, under Wine, its crash catcher. Its end ends the job
// (everything the solver started) and lets go of all of them.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/win32/solver_job.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/wine_crash_catcher.h"

namespace kalmor {

class Win32SolverProcess : public SolverProcess {
 public:
  // job and crashCatcher are the platform's, which outlives its solvers.
  Win32SolverProcess(UniqueHandle process, UniqueHandle thread, std::uint32_t processId,
                     SolverJob& job, WineCrashCatcher& crashCatcher);
  ~Win32SolverProcess() override;
  Win32SolverProcess(const Win32SolverProcess&) = delete;
  Win32SolverProcess& operator=(const Win32SolverProcess&) = delete;

  WaitOutcome wait(int milliseconds) override;
  // GetExitCodeProcess.
  ProcessExit exit() override;
  // TerminateProcess on its own handle, so a solver outside the job (where
  // the system refused to adopt it) ends too; then the job.
  void terminate() override;
  std::uint32_t processId() const override { return processId_; }

 private:
  UniqueHandle process_;
  UniqueHandle thread_;
  std::uint32_t processId_;
  SolverJob& job_;
  WineCrashCatcher& crashCatcher_;
};

}  // namespace kalmor
