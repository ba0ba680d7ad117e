// A Windows solver's run through Wine: the launcher's process, which ends the
// solver's Windows processes when it ends, and its report of how the solver
// ended, read from a pipe once the launcher has ended. Never read to its end:
// Wine's servers, which a prefix's first program starts, may hold it open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_processes.h"
#include "platform/posix/unique_fd.h"
#include "platform/result.h"

namespace kalmor {

class WineSolverProcess : public SolverProcess {
 public:
  static Result<std::unique_ptr<SolverProcess>> Start(PosixProcesses& processes,
                                                      std::vector<std::string> launcher);
  ~WineSolverProcess() override;
  WineSolverProcess(const WineSolverProcess&) = delete;
  WineSolverProcess& operator=(const WineSolverProcess&) = delete;

  WaitOutcome wait(int milliseconds) override { return launcher_->wait(milliseconds); }
  ProcessExit exit() override;
  void terminate() override { launcher_->terminate(); }
  std::uint32_t processId() const override { return launcher_->processId(); }

 private:
  WineSolverProcess(std::unique_ptr<PosixSolverProcess> launcher, UniqueFd report);

  std::unique_ptr<PosixSolverProcess> launcher_;
  UniqueFd report_;
  ProcessExit exit_;  // once the report is read: the pipe gives it once
};

}  // namespace kalmor
