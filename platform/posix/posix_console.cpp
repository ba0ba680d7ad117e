#include <cstdio>

#include "platform/console.h"

namespace kalmor {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteToConsole(const std::string& utf8, bool toError) {
  std::FILE* stream = toError ? stderr : stdout;
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);  // each run's line as it ends
}

}  // namespace kalmor
