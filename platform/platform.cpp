#include "platform/platform.h"

#include <cstdlib>

namespace kalmor {

void Platform::endSolverAndExit(int exitCode) { std::_Exit(exitCode); }

std::unique_ptr<InputFile> Platform::openResult(const std::string& path, NameKind& kind,
                                                std::int32_t& error) {
  // Looked at by name, then opened by name: a platform that can open once and
  // look at what it opened does so instead. Only a plain file counts; asking
  // what else stands there may touch the name (Windows, nameKind).
  kind = plainFileExists(path) ? NameKind::File : NameKind::Absent;
  return kind == NameKind::File ? openForReading(path, error) : nullptr;
}

}  // namespace kalmor
