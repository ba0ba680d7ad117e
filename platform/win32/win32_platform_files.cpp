#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/own_name.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

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

bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // No access asked: the file's identity only; a folder needs backup semantics.
  const UniqueHandle handle =
      OpenHandle(Utf8ToWide(path), 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  return handle && ::GetFileInformationByHandle(handle.get(), &info);
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

// Wine finds a Unix named pipe, socket or device in a search as a plain file
// and opens it at once; a read or write may then wait for ever. Asked for its
// attributes, which needs no open, Wine calls it an invalid parameter.
bool NeitherFileNorFolder(const std::wstring& name) {
  return ::GetFileAttributesW(name.c_str()) == kNoAttributes &&
         ::GetLastError() == ERROR_INVALID_PARAMETER;
}

}  // namespace

// A file search that finds plain files only: no folder, nothing hidden or system.
bool Win32Platform::plainFileExists(const std::string& path) {
  const std::wstring name = Utf8ToWide(path);
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & kNotPlain) == 0 && !NeitherFileNorFolder(name);
}

bool Win32Platform::sameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION one{};
  BY_HANDLE_FILE_INFORMATION two{};
  return Identify(first, one) && Identify(second, two) &&
         one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
         one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
}

namespace {

// mayProbe: the name may be created for a moment, to tell a dangling link.
NameKind KindOf(const std::wstring& name, bool mayProbe) {
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == kNoAttributes) {
    if (::GetLastError() == ERROR_INVALID_PARAMETER) return NameKind::Other;  // see above
    // Wine shows a dangling Unix link as nothing; only creating the name
    // tells. That touches the name, so it is done only where this checker
    // holds the folder's run lock and no other run can see it.
    if (!mayProbe) return NameKind::Absent;
    const UniqueHandle probe =
        OpenHandle(name, DELETE, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
    return probe || ::GetLastError() != ERROR_FILE_EXISTS ? NameKind::Absent : NameKind::Link;
  }
  // A link to a folder counts as a folder: under Wine every call on the name
  // reaches the folder and none the link, so removing it would remove the
  // folder's contents. A run refuses it as it refuses a folder.
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return NameKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return NameKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return NameKind::Other;
  const UniqueHandle look = OpenHandle(name, 0, OPEN_EXISTING, kLookOnly);
  return look && !EndsAtItsName(look.get(), name) ? NameKind::Link : NameKind::File;
}

}  // namespace

NameKind Win32Platform::nameKind(const std::string& path, const RunLock* held) {
  const std::wstring name = Utf8ToWide(path);
  const auto* lock = dynamic_cast<const Win32RunLock*>(held);
  return KindOf(name, lock != nullptr && lock->covers(name));
}

bool Win32Platform::deleteFile(const std::string& path, std::int32_t& error) {
  const std::wstring name = Utf8ToWide(path);
  // Wine finds a name in any case, so a km.out beside KM.OUT takes its place
  // once KM.OUT is gone: every entry the name reaches goes, one a round. The
  // bound is more case spellings than a run's names have.
  for (int round = 0; round < 64; ++round) {
    // Deleting touches the name anyway, so a dangling link left is probed for.
    if (round > 0 && KindOf(name, true) == NameKind::Absent) return true;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    UniqueHandle look = OpenHandle(name, 0, OPEN_EXISTING, kLookOnly);
    const bool itself = look && EndsAtItsName(look.get(), name);
    look.close();  // Wine replaces no file that is open
    // DeleteFileW refuses a read-only file; hidden and system files it deletes.
    if (itself && attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      ::SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // A folder stays, also as the target of a link: DeleteFileW refuses one,
    // and no file is renamed over one. DeleteFileW would remove what any
    // other name leads to: under Wine the target of a Unix link.
    const bool done =
        itself ? ::DeleteFileW(name.c_str()) != 0 : static_cast<bool>(ReplaceName(name, false));
    const DWORD code = ::GetLastError();
    if (!done && code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
      error = static_cast<std::int32_t>(code);
      return false;
    }
  }
  error = ERROR_FILE_EXISTS;
  return false;
}

std::unique_ptr<InputFile> Win32Platform::openForReading(const std::string& path,
                                                         std::int32_t& error) {
  UniqueHandle handle = OpenHandle(Utf8ToWide(path), GENERIC_READ, OPEN_EXISTING);
  if (!handle) {
    error = LastError();
    return nullptr;
  }
  return std::make_unique<HandleInput>(std::move(handle));
}

std::unique_ptr<OutputFile> Win32Platform::openForWriting(const std::string& path,
                                                          std::int32_t& error) {
  // Written through a link or a second name, the input could destroy the task
  // it is copied from, or a file outside the folder: such a name is replaced
  // by a new file. A file of this name alone is emptied in place, so that a
  // lock held on it stays.
  UniqueHandle handle = OpenOwnFile(Utf8ToWide(path), GENERIC_WRITE, error);
  if (!handle) return nullptr;
  if (!::SetEndOfFile(handle.get())) {
    error = LastError();
    return nullptr;
  }
  return std::make_unique<HandleOutput>(std::move(handle));
}

}  // namespace kalmor
