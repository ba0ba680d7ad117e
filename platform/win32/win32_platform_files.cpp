#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

// Others may read, write or delete the file while the checker holds it open,
// as with the file functions of the runtime the tool once used.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ERROR_STOPPED_ON_SYMLINK, which the cross headers lack.
constexpr std::int32_t kErrorStoppedOnLink = 681;
// ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kMaxChunk = 1u << 30;

std::int32_t LastError() { return static_cast<std::int32_t>(::GetLastError()); }

class HandleInput : public InputFile {
 public:
  explicit HandleInput(UniqueHandle handle) : handle_(std::move(handle)) {}

  std::size_t read(char* buffer, std::size_t size, std::int32_t& error) override {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
    if (!::ReadFile(handle_.get(), buffer, wanted, &got, nullptr)) {
      error = LastError();
      return 0;
    }
    return got;
  }

 private:
  UniqueHandle handle_;
};

class HandleOutput : public OutputFile {
 public:
  explicit HandleOutput(UniqueHandle handle) : handle_(std::move(handle)) {}

  bool write(const char* data, std::size_t size, std::int32_t& error) override {
    while (size > 0) {
      DWORD put = 0;
      const DWORD chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
      if (!::WriteFile(handle_.get(), data, chunk, &put, nullptr)) {
        error = LastError();
        return false;
      }
      data += put;
      size -= put;
    }
    return true;
  }

  // WriteFile keeps no buffer of ours, so closing the handle is the flush.
  bool close(std::int32_t& error) override {
    if (handle_.close()) return true;
    error = LastError();
    return false;
  }

 private:
  UniqueHandle handle_;
};

UniqueHandle OpenHandle(const std::string& path, DWORD access, DWORD disposition,
                        std::int32_t& error, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  UniqueHandle handle(::CreateFileW(Utf8ToWide(path).c_str(), access, kShareAll, nullptr,
                                    disposition, flags, nullptr));
  if (!handle) error = LastError();
  return handle;
}

bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  std::int32_t ignored = 0;
  // No access asked: the file's identity only; a folder needs backup semantics.
  const UniqueHandle handle =
      OpenHandle(path, 0, OPEN_EXISTING, ignored, FILE_FLAG_BACKUP_SEMANTICS);
  return handle && ::GetFileInformationByHandle(handle.get(), &info);
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

}  // namespace

// A file search that finds plain files only: no folder, nothing hidden or system.
bool Win32Platform::plainFileExists(const std::string& path) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(Utf8ToWide(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & kNotPlain) == 0;
}

bool Win32Platform::linkExists(const std::string& path) {
  // The attributes of the name itself: a link is not followed here.
  const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Win32Platform::sameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION one{};
  BY_HANDLE_FILE_INFORMATION two{};
  return Identify(first, one) && Identify(second, two) &&
         one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
         one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
}

// Windows side: see branch win
NameKind Win32Platform::nameKind(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  if (attributes == kNoAttributes) return NameKind::Absent;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return NameKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return NameKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return NameKind::Other;
  return NameKind::File;
}

// Windows side: see branch win
std::unique_ptr<RunLock> Win32Platform::lockRun(const std::string& /*inputPath*/,
                                                LockOutcome& outcome, std::int32_t& /*error*/) {
  outcome = LockOutcome::Taken;
  return std::make_unique<RunLock>();
}

bool Win32Platform::deleteFile(const std::string& path, std::int32_t& error) {
  const std::wstring name = Utf8ToWide(path);
  // A link to a folder is removed as a folder is; its target stays.
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  constexpr DWORD kFolderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  if (attributes != kNoAttributes && (attributes & kFolderLink) == kFolderLink) {
    if (::RemoveDirectoryW(name.c_str())) return true;
  } else if (::DeleteFileW(name.c_str())) {
    return true;
  }
  const DWORD code = ::GetLastError();
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
  error = static_cast<std::int32_t>(code);
  return false;
}

std::unique_ptr<InputFile> Win32Platform::openForReading(const std::string& path,
                                                         std::int32_t& error) {
  UniqueHandle handle = OpenHandle(path, GENERIC_READ, OPEN_EXISTING, error);
  if (!handle) return nullptr;
  return std::make_unique<HandleInput>(std::move(handle));
}

std::unique_ptr<OutputFile> Win32Platform::openForWriting(const std::string& path,
                                                          std::int32_t& error) {
  // The name itself is opened, never what a link points at, and nothing is
  // emptied until it is known to be a file of this one name: written through
  // a link or a second name, the input could destroy the task it is copied
  // from, or a file outside the folder.
  UniqueHandle handle = OpenHandle(path, GENERIC_WRITE, OPEN_ALWAYS, error,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
  if (!handle) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle.get(), &info)) {
    error = LastError();
    return nullptr;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    error = kErrorStoppedOnLink;
    return nullptr;
  }
  if (info.nNumberOfLinks > 1) {
    error = ERROR_TOO_MANY_LINKS;
    return nullptr;
  }
  if (!::SetEndOfFile(handle.get())) {
    error = LastError();
    return nullptr;
  }
  return std::make_unique<HandleOutput>(std::move(handle));
}

}  // namespace kalmor
