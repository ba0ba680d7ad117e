// One run per folder on POSIX: an exclusive flock on the run's input file.
// The lock belongs to the open file description, so the solver, which
// inherits the descriptor, and whatever it starts keep it too: a leftover of
// a run keeps the folder busy until it is gone, even when the checker was
// killed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/posix/unique_fd.h"

namespace kalmor {

class PosixRunLock : public RunLock {
 public:
  // onRelease runs when the lock is dropped, before its descriptor closes.
  PosixRunLock(UniqueFd fd, std::function<void()> onRelease)
      : fd_(std::move(fd)), onRelease_(std::move(onRelease)) {}
  ~PosixRunLock() override {
    if (onRelease_) onRelease_();
  }
  PosixRunLock(const PosixRunLock&) = delete;
  PosixRunLock& operator=(const PosixRunLock&) = delete;
  int descriptor() const { return fd_.get(); }

 private:
  UniqueFd fd_;
  std::function<void()> onRelease_;
};

// Opens (creating if needed) the regular file at path, a link not followed,
// and locks it without waiting: Busy while another description holds it.
UniqueFd PosixLockRunFile(const std::string& path, LockOutcome& outcome, std::int32_t& error);

}  // namespace kalmor
