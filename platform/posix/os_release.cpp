#include "platform/posix/os_release.h"

#include <stdexcept>

#include "platform/posix/shell_assignments.h"

namespace kalmor {

std::string PosixSystemName(const std::filesystem::path& root) {
  for (const char* file : {"etc/os-release", "usr/lib/os-release"}) {
    const auto name = ReadShellAssignment(root / file, "PRETTY_NAME");
    if (name && !name->empty()) return *name;
  }
  throw std::runtime_error("no PRETTY_NAME in os-release below " + root.string());
}

}  // namespace kalmor
