// The shell command that starts a copy of the stand-in in the background, for
// the "%standin child" directive: stopping the solver must leave such a
// grandchild running, and the copy leaves a line in a log to prove it did.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace kalmor::standin {

// The arguments that put the stand-in into child mode:
//   <program> --standin-child <milliseconds> <child log path> [<output path>]
inline constexpr std::string_view kChildModeFlag = "--standin-child";
inline constexpr std::string_view kChildLogName = "standin_child.log";

enum class Shell { Posix, WindowsCmd };

// A command for std::system that returns at once and leaves the copy running
// with no standard streams of the caller's; detached (POSIX only), in a
// session of its own and without descriptor 3, as a daemon would.
std::string ChildCommand(Shell shell, std::string_view program, std::chrono::milliseconds sleep,
                         std::string_view childLogPath, std::string_view outputPath = {},
                         bool detached = false);

// The copy's own command line, as the system takes it on Windows.
std::string ChildCommandLine(std::string_view program, std::chrono::milliseconds sleep,
                             std::string_view childLogPath, std::string_view outputPath = {});

// The line the copy appends to the child log once it has slept, without LF.
std::string ChildLogLine(std::chrono::milliseconds sleep);

}  // namespace kalmor::standin
