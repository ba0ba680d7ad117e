// Whole-file reads and writes in binary mode: the stand-in sees and writes
// line ends exactly as they are.
#pragma once

#include <optional>
#include <string>

namespace kalmor::standin {

std::optional<std::string> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
// Creates or empties the file; false when it could not be written completely.
bool WriteWholeFile(const std::string& path, const std::string& content);
// Adds the line and an LF at the end of the file, creating it if needed.
bool AppendLine(const std::string& path, const std::string& line);

}  // namespace kalmor::standin
