// Files on Windows, through the wide-character API so that folder names
// outside the ANSI code page work. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// A file search that finds plain files only: no folder, nothing hidden or system.
bool Win32PlainFileExists(const std::string& path);
bool Win32DeleteFile(const std::string& path, std::int32_t& error);
std::unique_ptr<InputFile> Win32OpenForReading(const std::string& path, std::int32_t& error);
std::unique_ptr<OutputFile> Win32OpenForWriting(const std::string& path, std::int32_t& error);

}  // namespace kalmor
