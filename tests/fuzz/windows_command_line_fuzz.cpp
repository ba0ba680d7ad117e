// Windows command-line splitting: any text splits without harm; arguments
// quoted the way Windows programs quote them split back into themselves; the
// program-name split loses nothing.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/windows_command_line.h"

namespace {

// The C runtime's quoting: backslashes double before a quote and before the
// closing quote, and a quote is escaped.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t slashes = 0;
  for (const char c : arg) {
    if (c == '"') quoted.append(slashes + 1, '\\');
    slashes = c == '\\' ? slashes + 1 : 0;
    quoted += c;
  }
  return quoted.append(slashes, '\\') + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kalmor::SplitCommandTail(text);

  const kalmor::ProgramAndTail split = kalmor::SplitProgramName(text);
  const bool quoted = !text.empty() && text[0] == '"';
  const bool closed = quoted && text.find('"', 1) != std::string::npos;
  const std::string rebuilt = quoted ? "\"" + split.program + (closed ? "\"" : "") + split.tail
                                     : split.program + split.tail;
  if (rebuilt != text) std::abort();

  // NUL bytes separate the arguments of the round trip.
  std::vector<std::string> args;
  std::istringstream parts(text);
  for (std::string arg; std::getline(parts, arg, '\0');) args.push_back(arg);
  std::string line;
  for (const std::string& arg : args) line += " " + Quote(arg);
  if (kalmor::SplitCommandTail(line) != args) std::abort();
  return 0;
}
