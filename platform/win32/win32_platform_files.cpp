#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

// Others may read, write or delete the file while the checker holds it open,
// as with the file functions of the runtime the tool once used.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
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

UniqueHandle OpenHandle(const std::wstring& name, DWORD access, DWORD disposition,
                        DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return UniqueHandle(
      ::CreateFileW(name.c_str(), access, kShareAll, nullptr, disposition, flags, nullptr));
}

bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // No access asked: the file's identity only; a folder needs backup semantics.
  const UniqueHandle handle =
      OpenHandle(Utf8ToWide(path), 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  return handle && ::GetFileInformationByHandle(handle.get(), &info);
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
constexpr DWORD kLookOnly = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(),
                                                     static_cast<DWORD>(path.size()), 0);
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(length);
  }
}

std::size_t LeafStart(const std::wstring& name) {
  const std::size_t separator = name.find_last_of(L"\\/");
  return separator == std::wstring::npos ? 0 : separator + 1;
}

// Whether the handle ended at the name itself. Wine shows a Unix link as a
// plain file and follows it on every open, even one that asks for the link
// itself; only the path it ended at gives the link away.
bool EndsAtItsName(HANDLE handle, const std::wstring& name) {
  const std::size_t leaf = LeafStart(name);
  const UniqueHandle folder = OpenHandle(leaf == 0 ? L"." : name.substr(0, leaf), 0,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  std::wstring expected = folder ? FinalPath(folder.get()) : std::wstring();
  if (expected.empty()) return false;
  if (expected.back() != L'\\') expected += L'\\';
  expected += name.substr(leaf);
  const std::wstring reached = FinalPath(handle);
  return ::CompareStringOrdinal(reached.c_str(), static_cast<int>(reached.size()),
                                expected.c_str(), static_cast<int>(expected.size()),
                                TRUE) == CSTR_EQUAL;
}

// A file of this one name: not a folder, not a link, no second name.
bool IsOwnPlainFile(HANDLE handle, const std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION info{};
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  return ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & kNotPlain) == 0 &&
         info.nNumberOfLinks == 1 && EndsAtItsName(handle, name);
}

// Renames the file of handle to name, taking the place of whatever entry
// stands there; a link is replaced, never followed.
bool RenameOver(HANDLE handle, const std::wstring& name) {
  std::wstring full(::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                 nullptr));
  if (full.empty()) return false;
  // The system's own form of the path: the call takes no other.
  const std::wstring target = full.starts_with(L"\\\\?\\") ? L"\\??\\" + full.substr(4)
                              : full.starts_with(L"\\\\")  ? L"\\??\\UNC\\" + full.substr(2)
                                                           : L"\\??\\" + full;
  std::vector<char> request(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(request.data());
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  return ::SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                      static_cast<DWORD>(request.size()));
}

// What stands at name (a file, a link, or Wine's dangling Unix link that no
// other call sees) is replaced by a new empty file, and nothing it leads to
// is touched. With keep false the new file goes too when its handle closes,
// even if the checker dies first. A folder, a read-only file or one held open
// stays, and the system's error is the last error.
UniqueHandle ReplaceName(const std::wstring& name, bool keep) {
  const std::wstring fresh = name + L"." + std::to_wstring(::GetCurrentProcessId()) + L".new";
  UniqueHandle handle =
      OpenHandle(fresh, GENERIC_READ | GENERIC_WRITE | DELETE, CREATE_NEW,
                 FILE_ATTRIBUTE_NORMAL | (keep ? 0 : FILE_FLAG_DELETE_ON_CLOSE));
  if (!handle || RenameOver(handle.get(), name)) return handle;
  const DWORD code = ::GetLastError();
  handle.reset();
  if (keep) ::DeleteFileW(fresh.c_str());
  ::SetLastError(code);
  return {};
}

// A file of this one name to write into, created when nothing stands there;
// what is not such a file is replaced, never written through.
UniqueHandle OpenOwnFile(const std::wstring& name, DWORD access, std::int32_t& error) {
  UniqueHandle handle = OpenHandle(name, access, CREATE_NEW);
  if (handle) return handle;
  if (const DWORD code = ::GetLastError(); code != ERROR_FILE_EXISTS) {
    error = static_cast<std::int32_t>(code);
    return {};
  }
  handle = OpenHandle(name, access, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
  if (handle && IsOwnPlainFile(handle.get(), name)) return handle;
  // Not found although something stands there: a dangling link.
  const bool stands = handle || ::GetLastError() == ERROR_FILE_NOT_FOUND;
  handle.reset();  // Wine replaces no file that is open
  if (stands) handle = ReplaceName(name, true);
  if (!handle) error = LastError();
  return handle;
}

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
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  constexpr DWORD kFolderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  UniqueHandle look = OpenHandle(name, 0, OPEN_EXISTING, kLookOnly);
  const bool itself = look && EndsAtItsName(look.get(), name);
  look.close();  // Wine replaces no file that is open
  bool done = false;
  if (attributes != kNoAttributes && (attributes & kFolderLink) == kFolderLink) {
    // A link to a folder is removed as a folder is; its target stays.
    done = ::RemoveDirectoryW(name.c_str());
  } else if (itself) {
    done = ::DeleteFileW(name.c_str());  // hidden and system files too
  } else {
    // DeleteFileW would remove what the name leads to: under Wine the target
    // of a Unix link.
    done = static_cast<bool>(ReplaceName(name, false));
  }
  if (done) return true;
  const DWORD code = ::GetLastError();
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
  error = static_cast<std::int32_t>(code);
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
