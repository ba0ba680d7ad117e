#include "platform/posix/posix_run_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

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
  while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) {
      outcome = LockOutcome::Busy;
    } else {
      error = errno;
    }
    return {};
  }
  outcome = LockOutcome::Taken;
  return fd;
}

}  // namespace kalmor
