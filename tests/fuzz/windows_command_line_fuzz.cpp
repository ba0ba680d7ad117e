// Windows command-line splitting: any text splits without harm; arguments
// quoted the way Windows programs quote them split back into themselves; the
// program-name split loses nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/windows_command_line.h"

namespace {

// The usual quoting for a C runtime's argument parser: backslashes double
// before a quote and before the closing quote, quotes are escaped.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  for (std::size_t i = 0;; ++i) {
    std::size_t slashes = 0;
    while (i < arg.size() && arg[i] == '\\') {
      ++slashes;
      ++i;
    }
    if (i == arg.size()) {
      quoted.append(slashes * 2, '\\');
      break;
    }
    if (arg[i] == '"') {
      quoted.append(slashes * 2 + 1, '\\');
    } else {
      quoted.append(slashes, '\\');
    }
    quoted += arg[i];
  }
  return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  for (const std::string& arg : kalmor::SplitCommandTail(text)) {
    if (arg.size() > text.size()) std::abort();
  }

  const kalmor::ProgramAndTail split = kalmor::SplitProgramName(text);
  const bool quoted = !text.empty() && text[0] == '"';
  const bool closed = quoted && text.find('"', 1) != std::string::npos;
  const std::string rebuilt = quoted ? "\"" + split.program + (closed ? "\"" : "") + split.tail
                                     : split.program + split.tail;
  if (rebuilt != text) std::abort();

  // NUL bytes separate the arguments of the round trip.
  std::vector<std::string> args(1);
  for (const char c : text) {
    if (c == '\0') {
      args.emplace_back();
    } else {
      args.back() += c;
    }
  }
  std::string line;
  for (const std::string& arg : args) line += " " + Quote(arg);
  if (kalmor::SplitCommandTail(line) != args) std::abort();
  return 0;
}
