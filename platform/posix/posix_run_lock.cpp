#include "platform/posix/posix_run_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>

namespace kalmor {

UniqueFd PosixLockRunFile(const std::string& path, LockOutcome& outcome, std::int32_t& error) {
  outcome = LockOutcome::Failed;
  // Read-only is enough for flock; O_NONBLOCK keeps a named pipe from
  // blocking the open, and the type is checked before anything else.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!fd) {
    error = errno;
    return {};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    error = errno;
    return {};
  }
  if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
    return {};
  }
  // What the last run left running was killed when its solver ended, but a
  // killed process lets go of its descriptors only as it dies: a short grace
  // keeps that from being taken for another checker.
  const timespec slice{0, 10'000'000};
  for (int tries = 25; ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0;) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      error = errno;
      return {};
    }
    if (--tries == 0) {
      outcome = LockOutcome::Busy;
      return {};
    }
    ::nanosleep(&slice, nullptr);
  }
  outcome = LockOutcome::Taken;
  return fd;
}

}  // namespace kalmor
