// Files on POSIX: plain-file test, deletion, and byte streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// A regular file whose name does not start with a dot (the POSIX way of hiding).
bool PosixPlainFileExists(const std::string& path);
bool PosixDeleteFile(const std::string& path, std::int32_t& error);
std::unique_ptr<InputFile> PosixOpenForReading(const std::string& path, std::int32_t& error);
std::unique_ptr<OutputFile> PosixOpenForWriting(const std::string& path, std::int32_t& error);
// The folder of the running executable.
std::string PosixExecutableFolder();

}  // namespace kalmor
