// The names in a folder, read through a handle that is always closed; and the
// processes /proc lists, which the run lock and the end of a run both look at.
#pragma once

#include <string>
#include <vector>

namespace kalmor {

// Every name but "." and ".."; none when the folder cannot be read.
std::vector<std::string> FolderEntries(const std::string& path);
// The process ids in /proc, as its entry names.
std::vector<std::string> ProcessIds();

}  // namespace kalmor
