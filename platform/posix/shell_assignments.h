// Reading KEY=value lines in the shell syntax that /etc/os-release,
// /etc/default/locale and /etc/locale.conf share.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace kalmor {

// The value text of one assignment: quotes removed, backslash escapes
// resolved, ending at the first unquoted blank.
std::string UnquoteShellValue(std::string_view value);

// The value last assigned to key ("export" allowed, "#" lines ignored);
// nullopt when key is never assigned.
std::optional<std::string> FindShellAssignment(std::istream& lines, std::string_view key);

// As above for a file; nullopt also when the file cannot be read.
std::optional<std::string> ReadShellAssignment(const std::filesystem::path& file, std::string_view key);

}  // namespace kalmor
