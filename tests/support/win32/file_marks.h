// Marks a file as Explorer hides it, so tests can check what the file search
// skips, or as read-only, so they can check what writing it does.
#pragma once

#include <string>

namespace kalmor::probes {

enum class FileMark { Hidden, System, ReadOnly };

// Adds the mark to the file's attributes; false when the system refuses.
bool MarkFile(const std::string& path, FileMark mark);

}  // namespace kalmor::probes
