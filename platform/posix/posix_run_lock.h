// One run per folder on POSIX, two locks held for the whole run:
// - an flock on the folder itself, which only the checker holds: removing or
//   renaming the input file cannot hand the folder to a second checker;
// - an open-file-description write lock on byte 2^62 of the input file, the
//   range the Windows build locks: under Wine that lock is an fcntl lock on
//   the same file, so each build sees the other. The solver inherits this
//   one, so a leftover of a run keeps the folder busy even when the checker
//   was killed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/posix/unique_fd.h"

namespace kalmor {

class PosixRunLock : public RunLock {
 public:
  // inputLocked: false where the file system has no record locks.
  PosixRunLock(UniqueFd folder, UniqueFd input, std::string folderPath, std::string inputPath,
               bool inputLocked);
  PosixRunLock(const PosixRunLock&) = delete;
  PosixRunLock& operator=(const PosixRunLock&) = delete;

  // Both names still lead to the locked folder and file, and both locks are
  // (again) this run's: a solver may have let go of the inherited one.
  bool stillHeld() override;
  // What the solver inherits: the input file's descriptor, with its lock.
  int inheritedDescriptor() const { return input_.get(); }

 private:
  UniqueFd folder_, input_;
  std::string folderPath_, inputPath_;
  bool inputLocked_;
};

// Takes both locks without waiting; Busy while another checker, or what is
// left of a run, holds either. The input file is created if needed; a link
// or a second name at it is refused (Link), as is anything but a regular file.
Result<LockAnswer> PosixLockRun(const std::string& inputPath);

// The processes that have the folder or the input file open, as
// "name (process id)", at most three.
std::string PosixRunLockHolders(const std::string& inputPath);

}  // namespace kalmor
