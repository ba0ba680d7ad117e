#include "platform/posix/os_release.h"

#include <cerrno>

#include "platform/posix/shell_assignments.h"

namespace kalmor {

Result<std::string> PosixSystemName(const std::filesystem::path& root) {
  for (const char* file : {"etc/os-release", "usr/lib/os-release"}) {
    const auto name = ReadShellAssignment(root / file, "PRETTY_NAME");
    if (name && !name->empty()) return *name;
  }
  return SystemError{ENOENT};
}

}  // namespace kalmor
