#include "platform/posix/posix_run_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/path_parts.h"
#include "platform/posix/folder_entries.h"

namespace kalmor {
namespace {

// Where the Windows build locks its input: beyond any task's end, so the
// solver's reads never meet it.
constexpr off_t kLockOffset = off_t{1} << 62;

std::string FolderOf(const std::string& path) {
  std::string folder = SplitPath(path, "/").folder;
  return folder.empty() ? "." : folder;
}

bool SameNode(const struct stat& one, const struct stat& two) {
  return one.st_dev == two.st_dev && one.st_ino == two.st_ino;
}

// The name (not followed) still is the open file.
bool NameIs(const std::string& path, int fd, bool follow) {
  struct stat byName {};
  struct stat opened {};
  const int looked = follow ? ::stat(path.c_str(), &byName) : ::lstat(path.c_str(), &byName);
  return looked == 0 && ::fstat(fd, &opened) == 0 && SameNode(byName, opened);
}

bool LockFolder(int fd) {
  int result = 0;
  while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  return result == 0;
}

bool LockInput(int fd) {
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = kLockOffset;
  range.l_len = 1;
  int result = 0;
  while ((result = ::fcntl(fd, F_OFD_SETLK, &range)) != 0 && errno == EINTR) {
  }
  return result == 0;
}

bool IsBusy(int error) { return error == EWOULDBLOCK || error == EAGAIN || error == EACCES; }

// A file system without record locks (some network and FUSE ones) cannot
// carry the Windows build's lock; the folder lock still keeps Linux checkers apart.
bool NoRecordLocks(int error) { return error == ENOLCK || error == EINVAL || error == EOPNOTSUPP; }

std::string ProcessName(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/comm");
  std::string name;
  std::getline(in, name);
  return name.empty() ? "?" : name;
}

}  // namespace

PosixRunLock::PosixRunLock(UniqueFd folder, UniqueFd input, std::string folderPath,
                           std::string inputPath, bool inputLocked)
    : folder_(std::move(folder)),
      input_(std::move(input)),
      folderPath_(std::move(folderPath)),
      inputPath_(std::move(inputPath)),
      inputLocked_(inputLocked) {}

bool PosixRunLock::stillHeld() {
  // The folder's lock is on a descriptor no solver has, so it is still held.
  // Taking a lock this description already holds succeeds; one that another
  // took after the solver let go of it does not.
  return NameIs(folderPath_, folder_.get(), true) && NameIs(inputPath_, input_.get(), false) &&
         (!inputLocked_ || LockInput(input_.get()));
}

Result<LockAnswer> PosixLockRun(const std::string& inputPath) {
  const auto refused = [](LockOutcome outcome) { return LockAnswer{outcome, nullptr}; };
  const std::string folderPath = FolderOf(inputPath);
  UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder) return SystemError{errno};
  if (!LockFolder(folder.get())) {
    if (IsBusy(errno)) return refused(LockOutcome::Busy);
    return SystemError{errno};
  }
  // O_NONBLOCK keeps a named pipe from blocking the open; the type is checked
  // before anything else. Read and write: a write lock needs both.
  UniqueFd input(::open(inputPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!input) {
    if (errno == ELOOP) return refused(LockOutcome::Link);
    return SystemError{errno};
  }
  struct stat info {};
  if (::fstat(input.get(), &info) != 0) return SystemError{errno};
  if (!S_ISREG(info.st_mode)) return SystemError{EINVAL};
  if (info.st_nlink > 1) return refused(LockOutcome::Link);
  const bool inputLocked = LockInput(input.get());
  if (!inputLocked && !NoRecordLocks(errno)) {
    if (IsBusy(errno)) return refused(LockOutcome::Busy);
    return SystemError{errno};
  }
  return LockAnswer{LockOutcome::Taken,
                    std::make_unique<PosixRunLock>(std::move(folder), std::move(input), folderPath,
                                                   inputPath, inputLocked)};
}

std::string PosixRunLockHolders(const std::string& inputPath) {
  struct stat folder {};
  struct stat input {};
  const bool hasFolder = ::stat(FolderOf(inputPath).c_str(), &folder) == 0;
  const bool hasInput = ::lstat(inputPath.c_str(), &input) == 0;
  std::string holders;
  int named = 0;
  // Only processes of this user can be looked into; Wine's lock is held by its
  // server, which is named then.
  for (const std::string& pid : ProcessIds()) {
    if (named == 3) break;
    const std::string fds = "/proc/" + pid + "/fd";
    bool holds = false;
    for (const std::string& fd : FolderEntries(fds)) {
      struct stat target {};
      if (::stat((fds + "/" + fd).c_str(), &target) != 0) continue;
      holds = (hasFolder && SameNode(target, folder)) || (hasInput && SameNode(target, input));
      if (holds) break;
    }
    if (!holds) continue;
    holders += (named++ == 0 ? "" : ", ") + ProcessName(pid) + " (" + pid + ")";
  }
  return holders;
}

}  // namespace kalmor
