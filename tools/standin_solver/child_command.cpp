#include "tools/standin_solver/child_command.h"

namespace kalmor::standin {
namespace {

std::string PosixQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Paths cannot hold double quotes on Windows; a trailing backslash would escape
// the closing quote for the program's argument parser, so it is doubled.
std::string CmdQuoted(std::string_view text) {
  std::string quoted = "\"" + std::string(text);
  if (!text.empty() && text.back() == '\\') quoted += '\\';
  return quoted + "\"";
}

}  // namespace

std::string ChildCommand(Shell shell, std::string_view program, std::chrono::milliseconds sleep,
                         std::string_view childLogPath, std::string_view outputPath, bool detached) {
  const std::string ms = std::to_string(sleep.count());
  const auto quoted = shell == Shell::Posix ? PosixQuoted : CmdQuoted;
  std::string paths = quoted(childLogPath);
  if (!outputPath.empty()) paths += " " + quoted(outputPath);
  if (shell == Shell::Posix) {
    return (detached ? "setsid " : "") + PosixQuoted(program) + " " + std::string(kChildModeFlag) +
           " " + ms + " " + paths + " </dev/null >/dev/null 2>&1" + (detached ? " 3>&-" : "") + " &";
  }
  // The empty title keeps "start" from taking the quoted program for a title.
  return "start \"\" /B " + ChildCommandLine(program, sleep, childLogPath, outputPath) +
         " <NUL >NUL 2>&1";
}

std::string ChildCommandLine(std::string_view program, std::chrono::milliseconds sleep,
                             std::string_view childLogPath, std::string_view outputPath) {
  std::string line = CmdQuoted(program) + " " + std::string(kChildModeFlag) + " " +
                     std::to_string(sleep.count()) + " " + CmdQuoted(childLogPath);
  return outputPath.empty() ? line : line + " " + CmdQuoted(outputPath);
}

std::string ChildLogLine(std::chrono::milliseconds sleep) {
  return "child slept " + std::to_string(sleep.count()) + " ms";
}

}  // namespace kalmor::standin
