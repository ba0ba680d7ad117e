// How a Windows program's C runtime cuts its command line into arguments.
// The POSIX platform uses it so the solver gets the same argv on both systems.
#pragma once

#include <string>
#include <vector>

namespace kalmor {

// Splits the part of a command line after the program name: blanks and tabs
// separate arguments outside quotes; 2n backslashes before a quote give n
// backslashes and the quote toggles quoting; 2n+1 give n and a literal quote;
// "" inside quotes is a literal quote; other backslashes are literal.
std::vector<std::string> SplitCommandTail(const std::string& tail);

// The program-name token at the start of a command line (quoted, or up to the
// first blank or tab) and what follows it.
struct ProgramAndTail {
  std::string program;
  std::string tail;
};
ProgramAndTail SplitProgramName(const std::string& commandLine);

}  // namespace kalmor
