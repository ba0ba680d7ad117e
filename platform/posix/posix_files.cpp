#include "platform/posix/posix_files.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path_parts.h"
#include "platform/posix/unique_fd.h"

namespace kalmor {
namespace {

SystemError LastError() { return SystemError{errno}; }

class FdInput : public InputFile {
 public:
  explicit FdInput(UniqueFd fd) : fd_(std::move(fd)) {}

  Result<std::size_t> read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t got = ::read(fd_.get(), buffer, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) return LastError();
    }
  }

 private:
  UniqueFd fd_;
};

// Emptying a file at open (O_TRUNC) makes ext4 free its blocks and flush the
// file again at close, about 0.15 ms, a tenth of a whole run with a quick
// solver. The file is instead written over and cut to what was written when
// it is closed: the same bytes in the end.
class FdOutput : public OutputFile {
 public:
  explicit FdOutput(UniqueFd fd) : fd_(std::move(fd)) {}
  ~FdOutput() override { static_cast<void>(close()); }
  FdOutput(const FdOutput&) = delete;
  FdOutput& operator=(const FdOutput&) = delete;

  Result<Done> write(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t put = ::write(fd_.get(), data, size);
      if (put < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      data += put;
      size -= static_cast<std::size_t>(put);
      written_ += static_cast<off_t>(put);
    }
    return kDone;
  }

  Result<Done> close() override {
    if (!fd_) return kDone;
    if (::ftruncate(fd_.get(), written_) != 0) {
      const SystemError cut = LastError();
      fd_.reset();
      return cut;
    }
    if (!fd_.close()) return LastError();
    return kDone;
  }

 private:
  UniqueFd fd_;
  off_t written_ = 0;
};

// A named pipe in place of a file would block open() until a partner comes,
// which may be never; without O_NONBLOCK it fails at once (ENXIO for writing).
// Later reads and writes block as usual.
UniqueFd OpenWithoutWaiting(const std::string& path, int flags, mode_t mode = 0) {
  UniqueFd fd(::open(path.c_str(), flags | O_NONBLOCK, mode));
  if (fd) ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

bool PosixPlainFileExists(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  const std::string name = SplitPath(path, "/").name;
  return S_ISREG(info.st_mode) && !(name.size() > 0 && name[0] == '.');
}

bool PosixSameFile(const std::string& first, const std::string& second) {
  struct stat one {};
  struct stat two {};
  return ::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &two) == 0 &&
         one.st_dev == two.st_dev && one.st_ino == two.st_ino;
}

NameKind PosixNameKind(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return NameKind::Absent;
  if (S_ISREG(info.st_mode)) return NameKind::File;
  if (S_ISLNK(info.st_mode)) return NameKind::Link;
  if (S_ISDIR(info.st_mode)) return NameKind::Folder;
  return NameKind::Other;
}

Result<Done> PosixDeleteFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return kDone;
  return LastError();
}

Result<std::unique_ptr<InputFile>> PosixOpenForReading(const std::string& path) {
  UniqueFd fd = OpenWithoutWaiting(path, O_RDONLY | O_CLOEXEC);
  if (!fd) return LastError();
  return std::unique_ptr<InputFile>(std::make_unique<FdInput>(std::move(fd)));
}

Result<FoundOutput> PosixOpenResult(const std::string& path) {
  // Looked at and read through one descriptor: what a helper of the solver
  // puts at the name in between (a pipe that never ends, a link to another
  // file) is never read.
  UniqueFd fd = OpenWithoutWaiting(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (!fd) {
    const SystemError error = LastError();
    const NameKind kind = error.code == ENOENT || error.code == ENOTDIR ? NameKind::Absent
                          : error.code == ELOOP                         ? NameKind::Link
                                                                        : PosixNameKind(path);
    if (kind == NameKind::File) return error;
    return FoundOutput{kind, nullptr};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return FoundOutput{NameKind::Other, nullptr};
  const std::string name = SplitPath(path, "/").name;
  NameKind kind = S_ISREG(info.st_mode)   ? NameKind::File
                  : S_ISDIR(info.st_mode) ? NameKind::Folder
                                          : NameKind::Other;
  if (kind == NameKind::File && name.starts_with('.')) kind = NameKind::Absent;
  if (kind != NameKind::File) return FoundOutput{kind, nullptr};
  return FoundOutput{kind, std::make_unique<FdInput>(std::move(fd))};
}

Result<std::unique_ptr<OutputFile>> PosixOpenForWriting(const std::string& path) {
  // A file that is also known by another name (a link, or a second hard
  // link) may be the very file the caller is about to read: writing into it
  // would destroy it, or, read while written, grow it without end. Anything
  // but a regular file is refused before a byte goes to it: a pipe that
  // another process holds open would block the write for ever, a device
  // swallows it.
  UniqueFd fd = OpenWithoutWaiting(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (!fd) return LastError();
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return LastError();
  if (!S_ISREG(info.st_mode) || info.st_nlink > 1) {
    return SystemError{S_ISREG(info.st_mode) ? EMLINK : EINVAL};
  }
  return std::unique_ptr<OutputFile>(std::make_unique<FdOutput>(std::move(fd)));
}

Result<std::string> PosixExecutableFolder() {
  // The kernel cannot name a path beyond PATH_MAX here; a full buffer may be
  // a cut one. Either way the folder is unknown, and the current folder is no
  // stand-in for it.
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length < 0) return LastError();
  if (length == 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
    return SystemError{ENAMETOOLONG};
  }
  const std::string path(buffer, static_cast<std::size_t>(length));
  return SplitPath(path, "/").folder;
}

}  // namespace kalmor
