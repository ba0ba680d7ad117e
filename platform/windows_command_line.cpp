#include "platform/windows_command_line.h"

namespace kalmor {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitCommandTail(const std::string& tail) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = tail.size();
  for (;;) {
    while (i < n && IsBlank(tail[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(tail[i]))) {
      if (tail[i] == '\\') {
        std::size_t slashes = 0;
        while (i < n && tail[i] == '\\') {
          ++slashes;
          ++i;
        }
        if (i < n && tail[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even count leaves the quote to the quoting rule below.
        } else {
          arg.append(slashes, '\\');
        }
        continue;
      }
      if (tail[i] == '"') {
        if (quoted && i + 1 < n && tail[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += tail[i++];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

ProgramAndTail SplitProgramName(const std::string& commandLine) {
  std::size_t i = 0;
  std::string program;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::size_t close = commandLine.find('"', 1);
    if (close == std::string::npos) return {commandLine.substr(1), {}};
    program = commandLine.substr(1, close - 1);
    i = close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
    program = commandLine.substr(0, i);
  }
  return {program, commandLine.substr(i)};
}

}  // namespace kalmor
