// A fresh folder for one test, removed afterwards. Its name holds blanks and a
// character beyond ASCII, as a composer's solver folder may.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <process.h>
#include <windows.h>

namespace kalmor::testing {

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Calls visit(path, isFolder) for every entry below folder, parents first,
// by the wide calls, which reach beyond MAX_PATH in the \\?\ form.
inline void ForEachBelow(const std::wstring& folder,
                         const std::function<void(const std::wstring&, bool)>& visit) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName, path = folder + L"\\" + name;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (name == L"." || name == L"..") continue;
    visit(path, isFolder);
    if (isFolder) ForEachBelow(path, visit);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

// Every entry below folder by its relative path: "folder", or the file's bytes.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  const std::wstring root = L"\\\\?\\" + folder.wstring();
  ForEachBelow(root, [&](const std::wstring& path, bool isFolder) {
    std::ostringstream bytes;
    if (isFolder) bytes << "folder";
    else bytes << std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf();
    entries[Utf8(path.substr(root.size() + 1))] = bytes.str();
  });
  return entries;
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    const std::string name = "Kalmor Pr\xC3\xBC" "fung " + std::to_string(::_getpid()) + "-" +
                             std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / FromUtf8(name);
    remove();
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { remove(); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The UTF-8 path of name inside the folder, joined with a backslash.
  std::string file(const std::string& name) const { return Utf8(path_) + "\\" + name; }
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / FromUtf8(name), std::ios::binary) << bytes;
    return file(name);
  }

 private:
  // Deepest first: remove_all gives up beyond MAX_PATH.
  void remove() const {
    const std::wstring root = L"\\\\?\\" + path_.wstring();
    std::vector<std::pair<std::wstring, bool>> all;
    ForEachBelow(root, [&](const std::wstring& path, bool isFolder) {
      all.emplace_back(path, isFolder);
    });
    for (auto at = all.rbegin(); at != all.rend(); ++at) {
      at->second ? ::RemoveDirectoryW(at->first.c_str()) : ::DeleteFileW(at->first.c_str());
    }
    ::RemoveDirectoryW(root.c_str());
  }

  std::filesystem::path path_;
};

}  // namespace kalmor::testing
