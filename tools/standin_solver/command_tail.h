// How the stand-in finds its input file on its command line, and how it
// records what it was given.
//
// The checker starts the solver as "<program> <input>" or "<program> "<input>"",
// with neither path quoted when the first form is used. A path with blanks
// therefore reaches the solver split over several arguments, and on Windows
// even the unquoted program path is split, its tail arriving as arguments.
// A solver that reads its whole command tail copes with the input path; the
// stand-in also skips leading words of a split program path.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmor::standin {

// args excludes the program name. Tries the arguments from the first, then
// from the second, and so on, each joined with single blanks and stripped of
// one pair of enclosing double quotes; the first that names an existing file
// wins. When none does, the whole tail is the answer (and reading it fails).
std::string InputPathFromArguments(const std::vector<std::string>& args,
                                   const std::function<bool(const std::string&)>& fileExists);

// One line of standin_calls.log, without its LF: the count of all arguments
// including the program name, then each of them verbatim in brackets:
//   3 [/opt/kalmor/kmwin32.exe] [/tmp/my] [tasks/TMP_INPUT.INP]
// Brackets inside an argument are not escaped; the log is for reading.
std::string CallsLogLine(const std::vector<std::string>& argv);

// The path up to and including its last separator ('/' or '\'); empty when
// the path names a file in the current folder.
std::string_view FolderPrefix(std::string_view path);

}  // namespace kalmor::standin
