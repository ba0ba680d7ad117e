// Files on POSIX: plain-file test, what a name is, deletion, and byte streams.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// A regular file whose name does not start with a dot (the POSIX way of hiding).
bool PosixPlainFileExists(const std::string& path);
// Both names reach one file: the same device and inode, links followed.
bool PosixSameFile(const std::string& first, const std::string& second);
NameKind PosixNameKind(const std::string& path);
Result<Done> PosixDeleteFile(const std::string& path);
Result<std::unique_ptr<InputFile>> PosixOpenForReading(const std::string& path);
// Opens the name itself once (no link followed, no pipe waited for) and reads
// only a regular file that is not hidden; kind says what it found.
Result<FoundOutput> PosixOpenResult(const std::string& path);
Result<std::unique_ptr<OutputFile>> PosixOpenForWriting(const std::string& path);
// The folder of the running executable.
Result<std::string> PosixExecutableFolder();

}  // namespace kalmor
