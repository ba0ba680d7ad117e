// What the stand-in solver takes from its input file. Besides the task text it
// understands the protocol line that names its output file, and directive lines
// that tell it how to misbehave, so tests can drive every outcome of a run:
//
//   %standin sleep <ms>     wait this long before writing the output
//   %standin nowrite        write no output file
//   %standin empty          write the output file with no content
//   %standin exit <code>    end with this exit code once the work is done
//   %standin crash          end abnormally once the work is done
//   %standin child <ms>     start a copy of itself that outlives the solver by
//                           sleeping this long, then notes that it finished
//   %standin latechild <ms> the same, and the copy then writes the output file
//                           in place of the solver, as a leftover would
//   %standin daemon <ms>    latechild, but the copy leaves the solver's process
//                           group and session (POSIX) and drops descriptor 3
//   %standin adoptedchild <ms>  as child, but the copy names the solver's own
//                           parent as its parent (Windows; elsewhere no copy)
//
// A directive starts at the first column; words are separated by blanks or
// tabs. A later directive of the same kind overrides an earlier one (nowrite
// and empty are one kind). Anything unknown or malformed is an error, so a
// mistyped test script fails loudly instead of passing by accident.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmor::standin {

enum class OutputMode : std::uint8_t { Normal, Empty, Suppressed };

struct SolverScript {
  // From the last line "Protokoll <path>"; none means the solver writes nothing.
  std::optional<std::string> protocolPath;
  std::chrono::milliseconds sleep{0};
  OutputMode output = OutputMode::Normal;
  int exitCode = 0;
  bool crash = false;
  std::optional<std::chrono::milliseconds> childSleep;
  bool childWritesOutput = false;
  bool childDetaches = false;
  bool childAdopted = false;
  // Lines that are neither blank, a directive nor the protocol line.
  int taskLines = 0;
  std::string firstTaskLine;
  // One entry per bad directive or protocol line, "line N: ...".
  std::vector<std::string> errors;
};

// Lines end at CR LF, a lone CR or LF; a final line needs no terminator.
std::vector<std::string_view> SplitLines(std::string_view text);

SolverScript ParseSolverScript(std::string_view text);

}  // namespace kalmor::standin
