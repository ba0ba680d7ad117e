#include "platform/platform.h"

#include <cstdlib>

namespace kalmor {

void Platform::endSolverAndExit(int exitCode) { std::_Exit(exitCode); }

Result<FoundOutput> Platform::openResult(const std::string& path) {
  // Looked at by name, then opened by name: a platform that can open once and
  // look at what it opened does so instead. Only a plain file counts; asking
  // what else stands there may touch the name (Windows, nameKind).
  if (!plainFileExists(path)) return FoundOutput{};
  auto file = openForReading(path);
  if (!file) return SystemError{file.error()};
  return FoundOutput{NameKind::File, std::move(*file)};
}

}  // namespace kalmor
