#include "platform/posix/folder_entries.h"

#include <dirent.h>

#include <memory>

namespace kalmor {

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
  if (!folder) return names;
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

std::vector<std::string> ProcessIds() {
  std::vector<std::string> ids;
  for (std::string& name : FolderEntries("/proc")) {
    if (name.find_first_not_of("0123456789") == std::string::npos) ids.push_back(std::move(name));
  }
  return ids;
}

}  // namespace kalmor
